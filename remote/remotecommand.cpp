#include "remote/remotecommand.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

namespace {

using Kind = RemoteCommand::Kind;

// What one field of a command takes; integers list their allowed range or values.
enum class FieldType {
  Team,
  Slot,
  Delta,
  Period,
  Seconds,
  Line,
  On,
  Mode,
  KindName,
  Player,
  Id,
  PenaltySeconds,
  ClockSeconds
};

struct CommandShape {
  const char* name;
  Kind kind;
  std::initializer_list<std::pair<const char*, FieldType>> fields;
  std::initializer_list<const char*> optional = {};
};

const CommandShape kShapes[] = {
    {"playPause", Kind::PlayPause, {}},
    {"reset", Kind::Reset, {}},
    {"goal", Kind::Goal, {{"team", FieldType::Team}, {"delta", FieldType::Delta}}, {"delta"}},
    {"penalty", Kind::Penalty, {{"team", FieldType::Team}, {"slot", FieldType::Slot}}},
    {"period", Kind::Period, {{"value", FieldType::Period}}},
    {"nextPeriod", Kind::NextPeriod, {}},
    {"correct", Kind::Correct, {{"seconds", FieldType::Seconds}}},
    {"countDown", Kind::CountDown, {{"on", FieldType::On}}},
    {"showClock", Kind::ShowClock, {{"on", FieldType::On}}},
    {"penaltyRelease", Kind::PenaltyRelease, {{"on", FieldType::On}}},
    {"logo", Kind::Logo, {{"on", FieldType::On}}},
    {"black", Kind::Black, {{"on", FieldType::On}}},
    {"textStart", Kind::TextStart, {{"mode", FieldType::Mode}}},
    {"textStop", Kind::TextStop, {}},
    {"textSelect", Kind::TextSelect, {{"line", FieldType::Line}}},
    // "penalty" with a kind gives one; with a slot it is the click on a penalty time.
    {"penalty",
     Kind::PenaltyGive,
     {{"team", FieldType::Team}, {"kind", FieldType::KindName}, {"player", FieldType::Player}},
     {"player"}},
    {"penaltyTime",
     Kind::PenaltyTime,
     {{"team", FieldType::Team}, {"id", FieldType::Id}, {"seconds", FieldType::PenaltySeconds}}},
    {"penaltyCancel", Kind::PenaltyCancel, {{"team", FieldType::Team}, {"id", FieldType::Id}}},
    {"foul", Kind::Foul, {{"team", FieldType::Team}, {"delta", FieldType::Delta}}},
    {"setClock", Kind::SetClock, {{"seconds", FieldType::ClockSeconds}}},
    {"undo", Kind::Undo, {}},
    {"horn", Kind::Horn, {}},
    {"mute", Kind::Mute, {{"on", FieldType::On}}},
    {"timeout", Kind::Timeout, {{"team", FieldType::Team}}},
    {"timeoutEnd", Kind::TimeoutEnd, {}},
    {"breakStart", Kind::BreakStart, {}},
    {"breakEnd", Kind::BreakEnd, {}},
};

// The longest penalty time a sender can set, and the longest kind name there is.
constexpr int kMaxPenaltySeconds = 1200;
constexpr int kMaxKindLength = 8;
// No period is longer than a day; whether the time fits the period is the match's to say.
constexpr int kMaxClockSeconds = 24 * 3600;

// Lines of the running-text list are addressed by index; no list is this long.
constexpr int kMaxLine = 1 << 20;

// Of two shapes with one name, the one that takes the object's first field beyond "team".
const CommandShape* findShape(const QString& name, const QJsonObject& object) {
  const CommandShape* found = nullptr;
  for (const CommandShape& shape : kShapes) {
    if (name != QLatin1String(shape.name)) continue;
    if (!found) found = &shape;
    for (const auto& [field, type] : shape.fields)
      if (QLatin1String(field) != QLatin1String("team") && object.contains(QLatin1String(field)))
        return &shape;
  }
  return found;
}

// A JSON number that is a whole number in [low, high]; 1.5, "1" and true are not.
std::optional<int> wholeNumber(const QJsonValue& v, int low, int high) {
  if (!v.isDouble()) return std::nullopt;
  const double d = v.toDouble();
  if (!std::isfinite(d) || d != std::floor(d) || d < low || d > high) return std::nullopt;
  return int(d);
}

// Stores the field into the command; false when its type or value is wrong.
bool readField(const QJsonValue& v, FieldType type, RemoteCommand& c) {
  std::optional<int> n;
  switch (type) {
    case FieldType::Team:
      return (n = wholeNumber(v, 1, 2)) ? (c.team = *n, true) : false;
    case FieldType::Slot:
      return (n = wholeNumber(v, 1, 2)) ? (c.slot = *n, true) : false;
    case FieldType::Delta:
      n = wholeNumber(v, -1, 1);
      return n && *n != 0 ? (c.value = *n, true) : false;
    case FieldType::Period:
      return (n = wholeNumber(v, 0, 4)) ? (c.value = *n, true) : false;
    case FieldType::Seconds:
      n = wholeNumber(v, -60, 60);
      return n && (std::abs(*n) == 60 || std::abs(*n) == 10) ? (c.value = *n, true) : false;
    case FieldType::Line:
      return (n = wholeNumber(v, 0, kMaxLine)) ? (c.value = *n, true) : false;
    case FieldType::On:
      return v.isBool() ? (c.on = v.toBool(), true) : false;
    case FieldType::KindName:
      if (!v.isString() || v.toString().isEmpty() || v.toString().size() > kMaxKindLength)
        return false;
      c.penaltyKind = v.toString();
      return true;
    case FieldType::Player:
      if (v.isNull()) return true;
      return (n = wholeNumber(v, 0, 99)) ? (c.player = *n, true) : false;
    case FieldType::Id:
      return (n = wholeNumber(v, 1, std::numeric_limits<int>::max())) ? (c.id = *n, true) : false;
    case FieldType::PenaltySeconds:
      return (n = wholeNumber(v, 1, kMaxPenaltySeconds)) ? (c.value = *n, true) : false;
    case FieldType::ClockSeconds:
      return (n = wholeNumber(v, 0, kMaxClockSeconds)) ? (c.value = *n, true) : false;
    case FieldType::Mode: {
      const QString mode = v.isString() ? v.toString() : QString();
      if (mode == "one")
        c.mode = RemoteCommand::TextMode::One;
      else if (mode == "all")
        c.mode = RemoteCommand::TextMode::All;
      else if (mode == "static")
        c.mode = RemoteCommand::TextMode::Static;
      else
        return false;
      return true;
    }
  }
  return false;
}

bool isOptional(const CommandShape& shape, const QString& field) {
  for (const char* name : shape.optional)
    if (field == QLatin1String(name)) return true;
  return false;
}

}  // namespace

std::variant<RemoteCommand, CommandError> parseRemoteCommand(const QByteArray& message) {
  if (message.size() > kMaxCommandBytes) return CommandError{"message too large"};
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(message, &parseError);
  if (parseError.error != QJsonParseError::NoError || !doc.isObject())
    return CommandError{"not a JSON object"};
  const QJsonObject object = doc.object();
  const QJsonValue name = object.value("cmd");
  if (!name.isString()) return CommandError{"\"cmd\" must be a string"};
  const CommandShape* shape = findShape(name.toString(), object);
  if (!shape) return CommandError{"unknown command"};

  RemoteCommand command{};
  command.kind = shape->kind;
  if (shape->kind == Kind::Goal) command.value = 1;
  int known = 1;  // "cmd"
  for (const auto& [field, type] : shape->fields) {
    const QJsonValue v = object.value(QLatin1String(field));
    if (v.isUndefined()) {
      if (isOptional(*shape, field)) continue;
      return CommandError{QString("missing \"%1\"").arg(field)};
    }
    if (!readField(v, type, command)) {
      if (type == FieldType::PenaltySeconds)
        return CommandError{QString("\"seconds\" must be a whole number from 1 to %1 (20:00)")
                                .arg(kMaxPenaltySeconds)};
      return CommandError{QString("bad \"%1\"").arg(field)};
    }
    ++known;
  }
  if (object.size() != known) return CommandError{"unexpected field"};
  return command;
}
