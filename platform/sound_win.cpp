#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>

#include "platform/sound.h"

QString systemNotificationSound() {
  return qEnvironmentVariable("WINDIR").left(255) + "\\media\\tada.wav";
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
