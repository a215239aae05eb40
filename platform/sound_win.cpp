#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>

#include <QDir>

#include "platform/sound.h"

// The notification sound every Windows has; %WINDIR% is at most a path, anything longer is not.
QString systemNotificationSound() {
  const QString windows = qEnvironmentVariable("WINDIR", QStringLiteral("C:\\Windows")).left(255);
  return QDir::fromNativeSeparators(windows) + QStringLiteral("/Media/tada.wav");
}

namespace {
// PlaySound reads the wave from this memory while it plays asynchronously.
QByteArray& nativeWave() {
  static QByteArray wave;
  return wave;
}
}  // namespace

bool playWaveNatively(const QByteArray& wave) {
  stopNativeWave();  // nothing may still read the old wave when it is replaced
  nativeWave() = wave;
  return PlaySoundW(reinterpret_cast<LPCWSTR>(nativeWave().constData()), nullptr,
                    SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

void stopNativeWave() { PlaySoundW(nullptr, nullptr, 0); }
