#pragma once

#include <QList>
#include <QMap>
#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpviewer.h"
#include "platform/platform.h"
#include "platform/settingskey.h"
#include "platform/sound.h"
#include "platform/tickcounter.h"
#include "support/faketick.h"

// Records every call instead of playing anything.
class FakeSound final : public SoundService {
 public:
  struct Call {
    QString file;  // empty for stopAll
    bool loop;
  };
  void play(const QString& fileName, bool loop) override { calls.append({fileName, loop}); }
  void stopAll() override { calls.append({QString(), false}); }
  QString systemSoundFile() const override { return "system.wav"; }
  int playCount() const;

  QList<Call> calls;
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
  Platform platform{tick, sound, desktop, dialogs, settings, help};
};
