#pragma once

#include <QByteArray>
#include <QHash>
#include <QLibrary>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The built-in horn's lengths in milliseconds: the end of a period or a break, the short signal
// (a time-out's warning), and the operator's horn command.
inline constexpr int kHornEndMs = 1500;
inline constexpr int kHornShortMs = 800;
inline constexpr int kHornManualMs = 1000;

// The built-in horn as a PCM WAV file (mono, 16 bit, 44.1 kHz), `milliseconds` long: two voices
// a major third apart with their harmonics, driven into a soft clip as a horn's reed buzzes,
// under a short attack and release so it neither clicks nor trails.
QByteArray hornWave(int milliseconds);

// The warning's stand-in for a file that cannot play: a short bright two-note chime that no one
// takes for the horn (shorter, two octaves higher, fading like a bell), in the horn's format.
inline constexpr int kChimeMs = 600;
QByteArray chimeWave();

// Plays sound files by name and the built-in horn, asynchronously. A file that cannot be played
// (missing, unreadable, not decodable) is reported once, and the horn sounds in its place: a
// signal is never silently lost. No audio device at all is swallowed: the match goes on.
class SoundService {
 public:
  // Receives one German line for the console.
  using Report = std::function<void(const QString& line)>;

  virtual ~SoundService() = default;
  virtual void play(const QString& fileName, bool loop) = 0;
  // The warning before a period's end: a file that cannot play gives the chime, not the horn
  // (in handball a horn stops play).
  virtual void playWarning(const QString& fileName, bool loop) = 0;
  // Tells now, before it is due, when the warning's file cannot be played.
  virtual void checkWarning(const QString& fileName) = 0;
  virtual void playHorn(int milliseconds) = 0;
  virtual void stopAll() = 0;
  // While muted nothing plays; muting stops what is playing.
  virtual void setMuted(bool muted) = 0;
  virtual bool muted() const = 0;
  virtual void setReport(Report report) = 0;
  // The system's own notification sound, the warning of last resort.
  virtual QString systemSoundFile() const = 0;
};

// The end signal: "Ton-ende.wav" in the current folder, else beside the program; empty when
// neither exists.
QString endSignalFile();
// Plays the end signal's file where there is one, else the long horn.
void playEndSignal(SoundService& sound);

// The system's notification sound on this operating system.
QString systemNotificationSound();

// Plays a WAV file held in memory through the operating system's own call where that needs no
// module (Windows), so the horn sounds even without the sound module; false where there is none.
bool playWaveNatively(const QByteArray& wave);
void stopNativeWave();

// What the sound module does: plays files and WAV data, asynchronously, on this thread.
class SoundPlayer {
 public:
  // Told, later and at most once per play, that a file turned out not to play, with the reason
  // as a short German phrase.
  using Failure = std::function<void(const QString& fileName, const QString& reason)>;

  virtual ~SoundPlayer() = default;
  virtual void setFailure(Failure failure) = 0;
  virtual void play(const QString& fileName, bool loop) = 0;
  virtual void playWave(const QByteArray& wave) = 0;
  virtual void stopAll() = 0;
};

// The module's one entry point, found under this name: the player on Qt Multimedia.
using SoundFactory = SoundPlayer* (*)();
inline constexpr char kSoundFactoryName[] = "createSound";

// Where the program looks for the module (see platform/module.h).
QStringList soundModulePaths();

// The program's sound. Qt Multimedia and the sound system's libraries live in the module
// scorvex-sound, loaded when the first sound is to play, so a program that plays none never maps
// them. A module that cannot be loaded is told once on stderr; the match goes on without sound.
class SoundLoader final : public SoundService {
 public:
  explicit SoundLoader(QStringList modulePaths = soundModulePaths());
  // With a player of its own that plays everything, the horn too (the tests' fake).
  explicit SoundLoader(std::unique_ptr<SoundPlayer> player);

  void play(const QString& fileName, bool loop) override;
  void playWarning(const QString& fileName, bool loop) override;
  void checkWarning(const QString& fileName) override;
  void playHorn(int milliseconds) override;
  void stopAll() override;
  void setMuted(bool muted) override;
  bool muted() const override { return muted_; }
  void setReport(Report report) override { report_ = std::move(report); }
  QString systemSoundFile() const override { return systemNotificationSound(); }

 private:
  SoundPlayer* player();
  // What the file's stand-in would be: the horn, or for the warning the chime.
  enum class StandIn { horn, chime };
  void playFile(const QString& fileName, bool loop, StandIn standIn);
  void failed(const QString& fileName, const QString& reason);
  void tell(const QString& fileName, const QString& reason, StandIn standIn);
  void playWaveData(const QByteArray& wave);

  const QStringList modulePaths_;
  QLibrary module_;  // never unloaded: the player may run until the program ends
  std::unique_ptr<SoundPlayer> player_;
  bool failed_ = false;
  bool native_ = true;  // the horn may go through playWaveNatively
  bool muted_ = false;
  Report report_;
  QSet<QString> reported_;            // files already told about, by absolute path
  QHash<QString, StandIn> standIns_;  // by absolute path: what its last play falls back to
  QHash<int, QByteArray> horns_;      // by length: the program sounds a few lengths many times
  QByteArray chime_;
};
