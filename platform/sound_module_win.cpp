// The module scorvex-sound on Windows: the system's own player, PlaySound (see SoundLoader).
#include <windows.h>
// mmsystem.h after windows.h, which it needs
#include <mmsystem.h>

#include <QDir>
#include <QFileInfo>

#include "platform/sound.h"

namespace {

// PlaySound plays one sound at a time: a new one, or stopAll(), ends the one playing. It
// returns at once (SND_ASYNC); a looping one (the warning) plays until then. A file it cannot
// play is skipped without the system's default sound (SND_NODEFAULT).
class WinSoundService final : public SoundService {
 public:
  ~WinSoundService() override { stopAll(); }

  void play(const QString& fileName, bool loop) override {
    const QFileInfo file(fileName);
    if (!file.isFile()) return;
    const std::wstring path = QDir::toNativeSeparators(file.absoluteFilePath()).toStdWString();
    DWORD flags = SND_FILENAME | SND_ASYNC | SND_NODEFAULT;
    if (loop) flags |= SND_LOOP;
    PlaySoundW(path.c_str(), nullptr, flags);
  }
  void stopAll() override { PlaySoundW(nullptr, nullptr, 0); }
  QString systemSoundFile() const override { return systemNotificationSound(); }
};

}  // namespace

extern "C" Q_DECL_EXPORT SoundService* createSound() { return new WinSoundService; }
