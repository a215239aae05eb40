#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

// A command sent by a phone or a script, as a small JSON object: {"cmd":"goal","team":1}.
// Only the console's own commands exist. Every field is checked for its exact JSON type and
// range, and an object with a field the command does not take is refused, so a typo never does
// something else than the sender meant.
struct RemoteCommand {
  enum class Kind {
    PlayPause,       // {"cmd":"playPause"}
    Reset,           // {"cmd":"reset"}
    Goal,            // {"cmd":"goal","team":1|2[,"delta":1|-1]}
    Penalty,         // {"cmd":"penalty","team":1|2,"slot":1|2}: start or cancel
    Period,          // {"cmd":"period","value":0..4}
    NextPeriod,      // {"cmd":"nextPeriod"}: 1, 2, 3, 4, then 0
    Correct,         // {"cmd":"correct","seconds":60|-60|10|-10}, while paused
    CountDown,       // {"cmd":"countDown","on":bool}
    ShowClock,       // {"cmd":"showClock","on":bool}
    PenaltyRelease,  // {"cmd":"penaltyRelease","on":bool}: a goal ends a penalty
    Logo,            // {"cmd":"logo","on":bool}
    Black,           // {"cmd":"black","on":bool}
    TextStart,       // {"cmd":"textStart","mode":"one"|"all"|"static"}
    TextStop,        // {"cmd":"textStop"}
    TextSelect,      // {"cmd":"textSelect","line":0..}
    PenaltyGive,     // {"cmd":"penalty","team":1|2,"kind":"2"|"2+2"|"5"|"10"[,"player":0..99|null]}
    PenaltyTime,     // {"cmd":"penaltyTime","team":1|2,"id":N,"seconds":1..1200}
    PenaltyCancel,   // {"cmd":"penaltyCancel","team":1|2,"id":N}
    Foul,            // {"cmd":"foul","team":1|2,"delta":1|-1}
    SetClock,        // {"cmd":"setClock","seconds":0..86400}: the shown time, while it stands
    Undo,            // {"cmd":"undo"}: takes back the last command
    Horn,            // {"cmd":"horn"}
    Mute,            // {"cmd":"mute","on":bool}
    Timeout,         // {"cmd":"timeout","team":1|2}: a team's time-out starts
    TimeoutEnd,      // {"cmd":"timeoutEnd"}
    BreakStart,      // {"cmd":"breakStart"}
    BreakEnd,        // {"cmd":"breakEnd"}
  };
  enum class TextMode { One, All, Static };

  Kind kind;
  int team = 0;   // Goal, Penalty
  int slot = 0;   // Penalty
  int value = 0;  // Goal: delta; Period: number; Correct, SetClock: seconds; TextSelect: line
  bool on = false;
  TextMode mode = TextMode::One;
  QString penaltyKind;        // PenaltyGive; whether the sport has it is the match's to say
  std::optional<int> player;  // PenaltyGive
  int id = 0;                 // PenaltyTime, PenaltyCancel; value holds the seconds

  bool operator==(const RemoteCommand&) const = default;
};

// Messages above this size are refused before they are parsed.
constexpr int kMaxCommandBytes = 4096;

struct CommandError {
  QString message;  // for the sender, in English like the rest of the interface
};

std::variant<RemoteCommand, CommandError> parseRemoteCommand(const QByteArray& message);
