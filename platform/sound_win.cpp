#include <QDir>

#include "platform/sound.h"

// The notification sound every Windows has; %WINDIR% is at most a path, anything longer is not.
QString systemNotificationSound() {
  const QString windows = qEnvironmentVariable("WINDIR", QStringLiteral("C:\\Windows")).left(255);
  return QDir::fromNativeSeparators(windows) + QStringLiteral("/Media/tada.wav");
}
