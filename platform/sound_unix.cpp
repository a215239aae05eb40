#include "platform/sound.h"

QString systemNotificationSound() { return "/usr/share/sounds/freedesktop/stereo/complete.oga"; }
