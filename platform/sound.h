#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

// Plays sound files by name, asynchronously. Every failure (missing file, no audio device,
// unsupported format) is swallowed: the match must go on whatever the sound does.
class SoundService {
 public:
  virtual ~SoundService() = default;
  virtual void play(const QString& fileName, bool loop) = 0;
  virtual void stopAll() = 0;
  // The system's own notification sound, the warning of last resort.
  virtual QString systemSoundFile() const = 0;
};

class QtSoundService final : public QObject, public SoundService {
 public:
  explicit QtSoundService(QObject* parent = nullptr);
  ~QtSoundService() override;

  void play(const QString& fileName, bool loop) override;
  void stopAll() override;
  QString systemSoundFile() const override;

 private:
  void ensurePlayer();

  QMediaPlayer* player_ = nullptr;
  QAudioOutput* output_ = nullptr;
};
