#include "platform/sound.h"

QString systemNotificationSound() {
  return qEnvironmentVariable("WINDIR").left(255) + "\\media\\tada.wav";
}
