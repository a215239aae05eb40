#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>
#include <memory>

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

// The system's notification sound on this operating system.
QString systemNotificationSound();

// The module's one entry point, found under this name: the player on Qt Multimedia.
using SoundFactory = SoundService* (*)();
inline constexpr char kSoundFactoryName[] = "createSound";

// Where the program looks for the module (see platform/module.h).
QStringList soundModulePaths();

// The program's sound. Qt Multimedia and the sound system's libraries live in the module
// scorvex-sound, loaded when the first sound is to play, so a program that plays none never maps
// them. A module that cannot be loaded is told once on stderr; the match goes on without sound.
class SoundLoader final : public SoundService {
 public:
  explicit SoundLoader(QStringList modulePaths = soundModulePaths());

  void play(const QString& fileName, bool loop) override;
  void stopAll() override;
  QString systemSoundFile() const override { return systemNotificationSound(); }

 private:
  void load();

  const QStringList modulePaths_;
  QLibrary module_;  // never unloaded: the player may run until the program ends
  std::unique_ptr<SoundService> player_;
  bool failed_ = false;
};
