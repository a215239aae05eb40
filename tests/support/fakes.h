#pragma once

#include <QList>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpviewer.h"
#include "platform/os/tickcounter.h"
#include "platform/platform.h"
#include "platform/settingskey.h"
#include "platform/sound.h"
#include "support/faketick.h"

// Records every call instead of playing anything.
class FakeSound final : public SoundService {
 public:
  struct Call {
    QString file;  // empty for stopAll and the horn
    bool loop;
    int hornMs = 0;  // the horn's length, 0 for the others
  };
  void play(const QString& fileName, bool loop) override { calls.append({fileName, loop}); }
  void playWarning(const QString& fileName, bool loop) override { play(fileName, loop); }
  void checkWarning(const QString& fileName) override { checked.append(fileName); }
  void playHorn(int milliseconds) override { calls.append({QString(), false, milliseconds}); }
  void stopAll() override { calls.append({QString(), false}); }
  void setMuted(bool muted) override { muted_ = muted; }
  bool muted() const override { return muted_; }
  void setReport(Report report) override { report_ = std::move(report); }
  QString systemSoundFile() const override { return "system.wav"; }
  int playCount() const;
  // Tells the line to whoever listens, as the sound layer does for a file that will not play.
  void report(const QString& line) const {
    if (report_) report_(line);
  }

  QList<Call> calls;
  QStringList checked;  // warning files checked before they were due

 private:
  bool muted_ = false;
  Report report_;
};

// A sound module's player that records what it is asked to play; `fail` tells a failure as the
// decoder would.
class FakeSoundPlayer final : public SoundPlayer {
 public:
  void setFailure(Failure failure) override { failure_ = std::move(failure); }
  void play(const QString& fileName, bool loop) override { played.append({fileName, loop}); }
  void playWave(const QByteArray& wave) override { waves.append(wave); }
  void stopAll() override { ++stops; }
  void fail(const QString& fileName, const QString& reason) const { failure_(fileName, reason); }

  QList<FakeSound::Call> played;
  QList<QByteArray> waves;
  int stops = 0;

 private:
  Failure failure_;
};

class FakeDesktop final : public Desktop {
 public:
  QList<QRect> monitorBounds() const override { return monitors; }
  int logicalPpi() const override { return 96; }
  void moveCursor(const QPoint& p) override { cursor = p; }

  QList<QRect> monitors{QRect(0, 0, 1024, 768)};
  QPoint cursor;
};

// Answers questions from a script and records what was shown.
class FakeDialogs final : public Dialogs {
 public:
  bool askOkCancel(QWidget*, const QString& caption, const QString& text) override {
    asked.append(caption + "|" + text);
    return answerOk;
  }
  void showError(QWidget*, const QString&, const QString& text) override { errors.append(text); }
  void showWarning(QWidget*, const QString&, const QString& text) override {
    warnings.append(text);
  }
  void beep() override { ++beeps; }
  QString pickOpenFile(QWidget*, const OpenFileRequest& request) override {
    fileRequests.append(request);
    return fileToPick;
  }
  std::optional<TColor> pickColor(QWidget*, TColor initial) override {
    colorPresets.append(initial);
    return colorToPick;
  }
  std::optional<ColoredFont> pickFont(QWidget*, const ColoredFont& initial) override {
    fontPresets.append(initial);
    return fontToPick;
  }
  QString pickSaveFile(QWidget*, const QString& suggested, const QString&) override {
    suggestedSaves.append(suggested);
    return fileToSave;
  }
  void openUrl(const QString& url) override { opened.append(url); }

  bool answerOk = true;
  QString fileToPick;  // empty: the picker is cancelled
  std::optional<TColor> colorToPick;
  std::optional<ColoredFont> fontToPick;
  QList<OpenFileRequest> fileRequests;
  QList<TColor> colorPresets;
  QList<ColoredFont> fontPresets;
  QString fileToSave;
  QStringList suggestedSaves;
  QStringList asked, errors, warnings, opened;
  int beeps = 0;
};

// Records the help files it is asked to show.
class FakeHelpViewer final : public HelpViewer {
 public:
  void showContents(QWidget*, const QString& helpFile) override { shown.append(helpFile); }

  QStringList shown;
};

// An in-memory settings key; `exists` false behaves as a first start.
class FakeSettingsKey final : public SettingsKey {
 public:
  bool openExisting() override { return exists; }
  bool openOrCreate() override {
    if (!writable) return false;
    exists = true;
    return true;
  }
  Text readText(const QString& name) override;
  Integer readInteger(const QString& name) override;
  bool writeText(const QString& name, const QString& value) override;
  bool writeInteger(const QString& name, qint32 value) override;
  bool close() override { return true; }
  void holdWrites() override { holding = true; }
  bool commit(QString* reason) override;
  QString storeName() const override { return "/fake/Scorvex.reg"; }

  bool exists = false;
  bool holding = false;
  int commits = 0;
  QString commitFailure;  // when set, commit fails with it as the reason
  bool writable = true;
  QMap<QString, QString> texts;
  QMap<QString, qint32> integers;
  QStringList writeOrder;
};

// All fakes together, ready to hand to a window.
struct FakePlatform {
  FakeTick tick;
  FakeSound sound;
  FakeDesktop desktop;
  FakeDialogs dialogs;
  FakeSettingsKey settings;
  FakeHelpViewer help;
  Platform platform{tick, sound, desktop, dialogs, help};
};
