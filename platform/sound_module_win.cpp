// The module scorvex-sound on Windows: the system's own player, PlaySound (see SoundLoader).
#include <windows.h>
// mmsystem.h after windows.h, which it needs
#include <mmsystem.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/sound.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(SoundModule)
};

// PlaySound plays one sound at a time: a new one, or stopAll(), ends the one playing. It
// returns at once (SND_ASYNC); a looping one (the warning) plays until then. A file it cannot
// play is reported instead of the system's default sound (SND_NODEFAULT).
class WinSoundPlayer final : public SoundPlayer {
 public:
  ~WinSoundPlayer() override { stopAll(); }

  void setFailure(Failure failure) override { failure_ = std::move(failure); }

  void play(const QString& fileName, bool loop) override {
    const QFileInfo file(fileName);
    if (!file.isFile()) return fail(fileName, Words::tr("Datei fehlt"));
    const std::wstring path = QDir::toNativeSeparators(file.absoluteFilePath()).toStdWString();
    DWORD flags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;
    if (loop) flags |= SND_LOOP;
    if (!PlaySoundW(path.c_str(), nullptr, flags))
      fail(fileName, Words::tr("kein bekanntes Tonformat"));
  }

  // The wave stays alive in sound_win.cpp while PlaySound reads it.
  void playWave(const QByteArray& wave) override { playWaveNatively(wave); }

  void stopAll() override { stopNativeWave(); }

 private:
  void fail(const QString& fileName, const QString& reason) {
    if (failure_) failure_(fileName, reason);
  }

  Failure failure_;
};

}  // namespace

extern "C" Q_DECL_EXPORT SoundPlayer* createSound() { return new WinSoundPlayer; }
