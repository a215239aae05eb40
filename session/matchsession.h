#pragma once

// The match as the program runs it, with or without a window: the match and its sport, the
// running-text list, the command layer over them, the 200 ms tick and the 500 ms blink that
// move them on, the journal that records them, and whether a logo screen exists. The console,
// the display and the remote observe the match, the list and the settings and call commands();
// none of them runs a timer of the match.

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"

class JournalSession;
class Settings;
struct Platform;

class MatchSession : public QObject {
  Q_OBJECT

 public:
  static constexpr int kTickMs = 200;
  static constexpr int kBlinkMs = 500;

  // `listFolder` holds the running-text list "Lauftext.txt".
  MatchSession(Settings& settings, Platform& platform, const QString& listFolder,
               QObject* parent = nullptr);
  ~MatchSession() override;

  const Match& match() const { return match_; }
  Match& match() { return match_; }
  const RunTextList& texts() const { return texts_; }
  RunTextList& texts() { return texts_; }
  Commands& commands() { return commands_; }
  const Commands& commands() const { return commands_; }
  const Settings& settings() const { return settings_; }

  // Whether the match tick runs: while the clock runs and while a time-out or the break counts
  // down. The blink runs while the end-of-period blink lasts.
  bool ticking() const { return tick_.isActive(); }
  bool blinking() const { return blink_.isActive(); }

  // The match journal in `folder`: an unfinished match is offered through `ask` (true takes it
  // up again, with its count direction, running texts and undo steps), then the match is
  // recorded until finishJournal().
  void openJournal(const QString& folder, const std::function<bool(const QString&)>& ask);
  // A match in progress stays for the next start; a finished one is filed.
  void finishJournal();
  // Empty while the match is recorded; else the one line the console and the phone show.
  QString journalProblem() const;
  // The journal of the match in progress, else of the last finished one (empty: none yet).
  QString lastMatchPath() const;

  // The logo screen exists only where the display found a logo-screen picture.
  bool logoAvailable() const { return commands_.logoAvailable(); }
  void setLogoAvailable(bool available) { commands_.setLogoAvailable(available); }

 public slots:
  // The display's running text finished a pass: the list moves on.
  void textPassEnded() { commands_.textPassEnded(); }

 signals:
  void journalProblemChanged(const QString& problem);

 private:
  // The tick runs exactly while the match counts; a new end-of-period blink starts the blink.
  void runTimers();
  void recordNames();
  void recordTexts();

  Settings& settings_;
  Platform& platform_;
  Match match_;
  RunTextList texts_;
  Commands commands_;
  std::unique_ptr<JournalSession> journal_;
  QTimer tick_;
  QTimer blink_;
  int blinkSeen_ = 0;  // blink steps left at the last change, to start the timer with a new blink
};
