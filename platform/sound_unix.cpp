#include "platform/sound.h"

QString systemNotificationSound() { return "/usr/share/sounds/freedesktop/stereo/complete.oga"; }

// There is no system call for a sound here: the sound module plays the horn.
bool playWaveNatively(const QByteArray&) { return false; }

void stopNativeWave() {}
