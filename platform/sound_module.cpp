// The module scorvex-sound: the sound player on Qt Multimedia (see SoundLoader).
#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "platform/sound.h"

namespace {

class QtSoundService final : public QObject, public SoundService {
 public:
  ~QtSoundService() override { stopAll(); }

  void play(const QString& fileName, bool loop) override;
  void stopAll() override {
    if (player_) player_->stop();
  }
  QString systemSoundFile() const override { return systemNotificationSound(); }

 private:
  void ensurePlayer();

  QMediaPlayer* player_ = nullptr;
  QAudioOutput* output_ = nullptr;
};

// The player is made on first use: a machine without sound never initialises the media back
// end at all.
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

}  // namespace

extern "C" Q_DECL_EXPORT SoundService* createSound() { return new QtSoundService; }
