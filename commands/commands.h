#pragma once

// The one way in for every operator command. A console key, a console click, a key on the
// display, a tap on a phone and a script's JSON all call the same function here; it applies
// the rules the console always applied and changes the models (the match, the settings, the
// running-text list), which notify their views once per change. No window is known here:
// questions ("Reset GAME?") are asked by the window before it calls, and what a command has to
// tell the operator comes back as a Notice for the caller to put into words and show.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <deque>
#include <optional>

#include "core/matchstate.h"
#include "settings/tsettings.h"

class Match;
class RunTextList;
class Settings;
struct ConfirmedConfiguration;
struct MatchRules;
struct SportRules;
struct Platform;

// Why a command was not done, or what the operator should know of one that was. The words are
// the windows' and the remote's (noticeText, in the session's language); each code lists the
// values its words take, in the order of Notice::args.
enum class Refusal {
  None,
  NoTeam,                 // team
  NoPenalty,              // team, penalty id
  NoPenaltyTimes,         // the view shows no penalty times
  UnknownPenaltyKind,     // sport, kind
  PlayerOutOfRange,       // player, highest player
  PenaltyListFull,        // team, most penalties a team lists
  PenaltyTimeOutOfRange,  // seconds, longest time as m:ss
  FoulStep,               // delta
  NoFouls,                // sport
  ClockRunning,           // the time is set only while the clock stands
  ClockOutOfRange,        // shown time, period length as m:ss
  NoTimeouts,             // sport
  TimeoutRunning,
  TimeoutInBreak,
  TimeoutMatchLimit,   // team
  TimeoutPeriodLimit,  // team, periods of the sport
  TimeoutLateLimit,    // team, minutes at the end of the match with one time-out each
  MatchOver,           // the last period has ended
  NothingToUndo,
  CannotOpenFile,    // file, the system's reason
  CannotCreateFile,  // file, the system's reason
  ListNotSaved,      // file: the list was not loaded whole
  ListShortfall,     // file, lines not loaded, "more" when more were left out, lines cut
};

// What a command tells the operator: nothing, a warning (it was done, but something should be
// known) or an error (it was not done).
struct Notice {
  enum Kind { None, Warning, Error };
  Kind kind = None;
  Refusal reason = Refusal::None;
  QStringList args;

  static Notice warning(Refusal reason, QStringList args = {}) { return {Warning, reason, args}; }
  static Notice error(Refusal reason, QStringList args = {}) { return {Error, reason, args}; }
  explicit operator bool() const { return kind != None; }
};

// The rules of the match as the settings give them.
MatchRules matchRules(const TSettings& settings);
// The sport the settings name; "standard" for a name no preset has.
SportRules sportRules(const TSettings& settings);

class Commands : public QObject {
  Q_OBJECT

 public:
  // `listFolder` holds the running-text list "Lauftext.txt".
  Commands(Match& match, Settings& settings, RunTextList& texts, Platform& platform,
           const QString& listFolder, QObject* parent = nullptr);

  const Match& match() const { return match_; }
  const Settings& settings() const { return settings_; }
  const RunTextList& texts() const { return texts_; }
  QString listFilePath() const;

  // Clock.
  // Refused once the last period of a sport that numbers its periods has ended.
  Notice playPause();
  Notice playPauseRefusal() const;
  void clockTick();  // every 200 ms while the clock runs
  void blinkStep();  // every 500 ms while the end-of-period blink lasts
  void reset();      // the whole match back to 0:0, once the operator has confirmed
  void correct(int stepSeconds);
  // "Zeit setzen…": the clock shows `shownSeconds` (the time left when counting down), while
  // it stands; the error says why not.
  Notice setClock(int shownSeconds);
  // Why setClock(shownSeconds) would be refused; no notice when it would run.
  Notice setClockRefusal(int shownSeconds) const;
  void setCountDown(bool on);
  void toggleCountDown();
  void setClockShown(bool shown);

  // Period.
  void setPeriod(int period);
  void periodUp();
  void periodDown();
  void periodCycle();

  // Score and penalties (team 1 home, 2 guest; slot 1 or 2).
  void goal(int team, int delta);
  // The error a further penalty of the team would give now (its list holds
  // Match::kPenaltiesPerTeam), or none.
  Notice penaltyListRefusal(int team) const;
  // A click on a slot without a penalty gives one, unless the team's list is full.
  void penaltyClick(int team, int slot);
  void setPenaltyRelease(bool on);
  // A penalty of a kind the sport has, with a player number 0..99 or none; the error says why
  // one was refused.
  Notice givePenalty(int team, const QString& kind, std::optional<int> player);
  // The time a penalty has left, 1 s … 20:00.
  Notice setPenaltyTime(int team, int id, int seconds);
  Notice cancelPenalty(int team, int id);
  // A team's accumulated fouls of the half, where the sport counts them.
  Notice foul(int team, int delta);

  // Team time-outs (team 1 home, 2 guest) and the break between periods; the error says why a
  // time-out was refused.
  Notice timeout(int team);
  // The error a time-out of the team would give now, or none.
  Notice timeoutRefusal(int team) const;
  void timeoutEnd();
  void startBreak();
  void endBreak();

  // Screens. The logo screen exists only where a logo-screen picture was found.
  bool logoAvailable() const { return logoAvailable_; }
  void setLogoAvailable(bool available) { logoAvailable_ = available; }
  void setLogoScreen(bool shown);
  void setBlackScreen(bool shown);
  void toggleBlackScreen();

  // Running text.
  Notice startText(int mode);
  void stopText();
  void replayText();     // the selected line again, in the last mode
  void textPassEnded();  // the display's ticker finished a pass
  void selectText(int index);
  void insertTextAfter(const QString& line);
  void insertTextBefore(const QString& line);
  void deleteText();
  void setTextsStopAfterLast(bool stops);
  Notice loadDefaultTexts();
  Notice openTexts(const QString& path);
  Notice saveTexts();

  // "Rückgängig": takes back the last command that changed the match (a goal, a penalty given,
  // cancelled or its time set, a foul, a period change, a correction or set time, a reset),
  // one at a time, up to kUndoSteps back. Play/Pause and the passing of time are not taken
  // back. Nothing to undo says so.
  static constexpr int kUndoSteps = UndoStep::kKept;
  Notice undo();
  bool canUndo() const { return !undoSteps_.empty(); }
  // What undo() would take back, in the operator's words ("Tor", "Reset"); empty for nothing.
  QString nextUndo() const;
  // The steps a match taken up again can still take back, oldest first, as its journal kept
  // them; they replace any held now. Only the newest kUndoSteps are kept.
  void restoreUndoSteps(const QList<UndoStep>& steps);

  // Sound: the built-in horn by hand, and everything silent while muted.
  void horn();
  void setMuted(bool muted);
  // Tells at once, in the sound's line, when the warning's file will not play (at start).
  void checkWarningSound();

  // Settings.
  // Another sport (from the command line) plays its preset's period length, as choosing it in
  // the configuration dialog does; the same sport again keeps the length the operator set.
  void chooseSport(const QString& name);
  void configure(const ConfirmedConfiguration& configuration);
  void setElementFont(int element, const ElementFont& font);
  void setElementFonts(const std::array<ElementFont, 5>& fonts);
  void setRemote(bool running, int port);
  void setOverlayToken(const QString& token);
  // A team's colour in the stream overlay (team 1 home, 2 guest).
  void setOverlayColor(int team, TColor color);

 signals:
  // The operator sounded the horn by hand.
  void hornSounded();
  // A command that can be taken back was done: the journal keeps the step. (An undo taken is
  // known to the journal from the match itself, in the same change.)
  void undoStepAdded(const UndoStep& step);

 private:
  Notice loadTexts(const QString& path, bool reportFailure);
  void connectCountdownSignals();

  // Undo: a command that changes the match takes the match before it, and afterwards records
  // the step when it did change something.
  MatchSnapshot beforeCommand() const;
  void recordUndo(const char* command, const MatchSnapshot& before);
  std::deque<UndoStep> undoSteps_;

  Match& match_;
  Settings& settings_;
  RunTextList& texts_;
  Platform& platform_;
  QString listFolder_;
  bool logoAvailable_ = false;
};
