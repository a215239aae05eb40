#include "platform/sound.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

QtSoundService::QtSoundService(QObject* parent) : QObject(parent) {}

QtSoundService::~QtSoundService() { stopAll(); }

// The player is made on first use: start-up stays fast and a machine without sound
// never initialises the media back end at all.
void QtSoundService::ensurePlayer() {
  if (player_) return;
  player_ = new QMediaPlayer(this);
  output_ = new QAudioOutput(this);
  player_->setAudioOutput(output_);
}

void QtSoundService::play(const QString& fileName, bool loop) {
  const QFileInfo file(fileName);
  if (!file.isFile() || QMediaDevices::audioOutputs().isEmpty()) return;
  ensurePlayer();
  player_->stop();
  player_->setLoops(loop ? QMediaPlayer::Infinite : 1);
  player_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
  player_->play();
}

void QtSoundService::stopAll() {
  if (player_) player_->stop();
}

QString QtSoundService::systemSoundFile() const {
#ifdef Q_OS_WIN
  return (qEnvironmentVariable("WINDIR").left(255) + "\\media\\tada.wav");
#else
  return "/usr/share/sounds/freedesktop/stereo/complete.oga";
#endif
}
