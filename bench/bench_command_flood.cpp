// One paired phone flooding the program with commands: 1,000 a second for five seconds over a
// WebSocket (penalties for both teams, goals and their take-backs), with the real console,
// display, match and journal, while the clock runs. It prints the display's longest stall: the
// longest time a 10 ms timer in the event loop the display paints in had to wait (the target is
// 50 ms at most), at the start of a match and after a long one (the argument: report entries
// recorded before the flood), next to the same with no flood, which is what the machine's load
// alone costs.
// Times are wall-clock milliseconds on this machine: the program's real tick counter runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>

#include "app/formctrl.h"
#include "app/remotecontrol.h"
#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "remote/remoteserver.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "support/fakes.h"

namespace {

template <typename Done>
bool runUntil(Done done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
  return done();
}

// The program's windows and journal on the real tick counter, with the remote control started.
struct Program {
  Program() {
    settings.change([](TSettings& s) { s.Time = 1'000'000; });  // no end of period meanwhile
    console.attachWindows(nullptr, &display, nullptr, nullptr);
    display.show();
    console.show();
    session.openJournal(folder.path(), [](const QString&) { return false; });
    remote.server().start(QHostAddress::LocalHost, 0);
  }
  QByteArray pairedToken() {
    const QByteArray body = "{\"pin\":\"" + remote.server().pin().toUtf8() + "\"}";
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, remote.server().port());
    socket.write(
        "POST /api/pair HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
        "Content-Length: " +
        QByteArray::number(body.size()) + "\r\n\r\n" + body);
    QByteArray reply;
    runUntil([&] { return (reply += socket.readAll()).endsWith("}"); }, 5000);
    const QByteArray json = reply.mid(reply.indexOf("\r\n\r\n") + 4);
    return QJsonDocument::fromJson(json)["token"].toString().toUtf8();
  }

  QTemporaryDir folder;
  FakePlatform fake;
  QtTickCounter tick;
  Platform platform{tick, fake.sound, fake.desktop, fake.dialogs, fake.help};
  Settings settings;
  MatchSession session{settings, platform, QString()};
  Match& match = session.match();
  Commands& commands = session.commands();
  TFormCtrl console{platform, session};
  TFormTablo display{platform, settings, match};
  RemoteControl remote{session, platform};
};

// The longest wait of a 10 ms timer beyond its interval.
class StallProbe {
 public:
  StallProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      if (last_ >= 0) longestMs = std::max(longestMs, (now - last_) / 1e6 - 10.0);
      last_ = now;
    });
    clock_.start();
    timer_.start(10);
  }
  double longestMs = 0;

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = -1;
};

void CommandFlood(benchmark::State& state) {
  Program program;
  // A long match: its report entries (goals given and taken back) recorded before the flood.
  for (int i = 0; i < state.range(0); ++i) program.commands.goal(1, i % 2 == 0 ? 1 : -1);
  program.commands.playPause();
  QWebSocket phone;
  QNetworkRequest request(
      QUrl(QString("ws://127.0.0.1:%1/ws").arg(program.remote.server().port())));
  request.setRawHeader("Cookie", "scorvex_session=" + program.pairedToken());
  int answers = 0;
  QObject::connect(&phone, &QWebSocket::textMessageReceived, [&] { ++answers; });
  phone.open(request);
  runUntil([&] { return answers > 0; }, 5000);
  const QString commands[] = {
      R"({"cmd":"penalty","team":1,"kind":"2"})", R"({"cmd":"penalty","team":2,"kind":"2"})",
      R"({"cmd":"goal","team":1})", R"({"cmd":"goal","team":1,"delta":-1})"};
  {
    // The same loop without the flood: what the machine's own load costs the timer.
    StallProbe idle;
    runUntil([] { return false; }, 3000);
    state.counters["idle_stall_max_ms"] = idle.longestMs;
  }
  for (auto _ : state) {
    StallProbe probe;
    int sent = 0;
    QElapsedTimer clock;
    clock.start();
    // 1,000 a second, paced by the clock: whatever is due is sent at each turn of the loop.
    runUntil(
        [&] {
          const int due = std::min<int>(5000, int(clock.elapsed()) + 1);
          for (; sent < due; ++sent) phone.sendTextMessage(commands[sent % 4]);
          return sent == 5000;
        },
        20'000);
    runUntil([] { return false; }, 500);  // what is still queued
    state.counters["sent"] = sent;
    state.counters["send_ms"] = clock.nsecsElapsed() / 1e6;
    state.counters["penalties"] = double(program.match.state().teamPenalties[0].size() +
                                         program.match.state().teamPenalties[1].size());
    state.counters["stall_max_ms"] = probe.longestMs;
  }
  state.counters["target_ms"] = 50;
}
BENCHMARK(CommandFlood)->Arg(0)->Arg(20'000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
