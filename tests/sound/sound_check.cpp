// Plays the match's signals through the real sound module, one after another with a second of
// silence around each, for null_sink_test.py to record:
//   1.0 s  the end signal, no "Ton-ende.wav" anywhere: the long horn
//   3.5 s  a time-out's signal: the short horn
//   5.3 s  the operator's horn
//   7.3 s  a warning sound whose file does not decode: its report and the long horn
// Usage: scorvex_sound_check <sound module> <undecodable file>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "platform/sound.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "Aufruf: scorvex_sound_check <Tonmodul> <kaputte Datei>\n");
    return 2;
  }
  SoundLoader sound({QString::fromLocal8Bit(argv[1])});
  sound.setReport([](const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
  });
  const QString broken = QString::fromLocal8Bit(argv[2]);
  QTimer::singleShot(1000, [&sound] { playEndSignal(sound); });
  QTimer::singleShot(3500, [&sound] { sound.playHorn(kHornShortMs); });
  QTimer::singleShot(5300, [&sound] { sound.playHorn(kHornManualMs); });
  QTimer::singleShot(7300, [&sound, broken] { sound.play(broken, false); });
  QTimer::singleShot(10000, &app, &QCoreApplication::quit);
  return app.exec();
}
