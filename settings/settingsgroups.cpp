#include "settings/settingsgroups.h"

#include <algorithm>
#include <type_traits>

#include "core/match.h"
#include "core/sportrules.h"
#include "platform/settingskey.h"

namespace {

using Status = SettingsKey::Status;
using Kind = SettingKind;
using Group = SettingGroup;
using Get = std::function<SettingValue(const TSettings&, const WindowPlaces&)>;
using Set = std::function<void(TSettings&, WindowPlaces&, const SettingValue&)>;
using Access = std::pair<Get, Set>;

enum StyleBit { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

qint32 integerOf(const SettingValue& value) { return std::get<qint32>(value); }

// A value of the record as stored, and back.
template <typename T>
SettingValue stored(const T& value) {
  if constexpr (std::is_same_v<T, QString>)
    return value;
  else
    return qint32(value);
}
template <typename T>
T taken(const SettingValue& value) {
  if constexpr (std::is_same_v<T, QString>)
    return std::get<QString>(value);
  else if constexpr (std::is_same_v<T, bool>)
    return integerOf(value) != 0;
  else
    return T(integerOf(value));
}

// A value that lives in the record, where `field` finds it.
template <typename Field>
Access inRecord(Field field) {
  return {[field](const TSettings& s, const WindowPlaces&) { return stored(field(s)); },
          [field](TSettings& s, WindowPlaces&, const SettingValue& v) {
            auto& target = field(s);
            target = taken<std::remove_cvref_t<decltype(target)>>(v);
          }};
}
template <typename T>
Access member(T TSettings::*field) {
  return inRecord([field](auto& s) -> auto& { return s.*field; });
}

// A number of a window's place.
Access inPlaces(qint32 (*get)(const WindowPlaces&), void (*set)(WindowPlaces&, qint32)) {
  return {[get](const TSettings&, const WindowPlaces& p) { return SettingValue(get(p)); },
          [set](TSettings&, WindowPlaces& p, const SettingValue& v) { set(p, integerOf(v)); }};
}

struct TextReading {
  int maxLength = 0;  // cut to this many characters when read
  TextRule rule = TextRule::Applied;
};

Setting row(const QString& name, Kind kind, Group group, int writePosition,
            SettingValue defaultValue, const Access& access, TextReading text = {},
            std::optional<std::pair<qint32, qint32>> range = std::nullopt) {
  return {name,           kind,      group, writePosition, std::move(defaultValue),
          text.maxLength, text.rule, range, access.first,  access.second};
}

QString colorName(int i) { return QStringLiteral("C%1").arg(i); }
// Element font values are numbered from 1: "FC1", "FN1", "FS1" ... "FS5".
QString fontValueName(char kind, int font) {
  return QStringLiteral("F%1%2").arg(kind).arg(font + 1);
}

// The table of both groups, each group's rows in reading order. A row reads: name, kind,
// group, place in the write order, default, where the value lives; for texts, how they are
// read; for integers, the range taken.
std::vector<Setting> makeTable() {
  const Group console = Group::Console;
  const Group display = Group::Display;
  const TextReading name{kMaxTextLength};
  const TextReading path{kMaxPathLength};
  std::vector<Setting> t = {
      row("CountDown", Kind::Boolean, console, 5, true, member(&TSettings::CountDown)),
      // A period the match journal could not hold is none the dialog could have set.
      row("Time", Kind::Integer, console, 6, 2700, member(&TSettings::Time), {},
          std::pair<qint32, qint32>{0, Match::kMaxPeriodLength}),
      row("Monitor", Kind::Integer, console, 12, 0, member(&TSettings::Monitor)),
      row("Comanda1", Kind::Text, console, 7, "HEIM", member(&TSettings::Comanda1), name),
      row("Comanda2", Kind::Text, console, 8, "GAST", member(&TSettings::Comanda2), name),
      row("TitelType", Kind::Integer, console, 9, 1, member(&TSettings::TitelType)),
      row("TitelType1", Kind::Text, console, 10, "SPIELTITEL", member(&TSettings::TitelType1),
          name),
      row("TitelType2", Kind::Text, console, 11, "C:\\....", member(&TSettings::TitelType2), path),
      // The console's place has no default: the window system places it at its first show.
      row("L", Kind::Integer, console, 1, {},
          inPlaces([](const WindowPlaces& p) { return p.console.left(); },
                   [](WindowPlaces& p, qint32 v) { p.console.moveLeft(v); })),
      row("T", Kind::Integer, console, 2, {},
          inPlaces([](const WindowPlaces& p) { return p.console.top(); },
                   [](WindowPlaces& p, qint32 v) { p.console.moveTop(v); })),
      row("W", Kind::Integer, console, 3, {},
          inPlaces([](const WindowPlaces& p) { return p.console.width(); },
                   [](WindowPlaces& p, qint32 v) { p.console.setWidth(v); })),
      row("H", Kind::Integer, console, 4, {},
          inPlaces([](const WindowPlaces& p) { return p.console.height(); },
                   [](WindowPlaces& p, qint32 v) { p.console.setHeight(v); })),
      row("Speed", Kind::Integer, console, 13, 3, member(&TSettings::Speed)),
      row("SLoop", Kind::Boolean, console, 14, false, member(&TSettings::SLoop)),
      row("SoundTime", Kind::Integer, console, 15, 60, member(&TSettings::SoundTime)),
      // Empty by default: the program chooses the sound at start-up.
      row("SoundFile", Kind::Text, console, 16, QString(), member(&TSettings::SoundFile),
          {kMaxPathLength, TextRule::EmptyChangesNothing}),
      row("StrReset", Kind::Boolean, console, 17, false, member(&TSettings::StrReset)),
      row("RemoteOn", Kind::Boolean, console, 18, false, member(&TSettings::RemoteOn)),
      row("RemotePort", Kind::Integer, console, 19, 8440, member(&TSettings::RemotePort)),
      row("RemoteOverlayToken", Kind::Text, console, 20, QString(),
          member(&TSettings::RemoteOverlayToken), name),
      row("Muted", Kind::Boolean, console, 21, false, member(&TSettings::Muted)),
      row("RemoteColor1", Kind::Color, console, 22, 0x2828B4, member(&TSettings::RemoteColor1)),
      row("RemoteColor2", Kind::Color, console, 23, 0xA05A1E, member(&TSettings::RemoteColor2)),
      row("Sport", Kind::Text, console, 24, SportRules().name, member(&TSettings::Sport),
          {kMaxTextLength, TextRule::OtherKindIsEmpty}),
      // Only a break the dialog could have set is taken.
      row("BreakTime", Kind::Integer, console, 25, 900, member(&TSettings::BreakTime), {},
          std::pair(0, kMaxBreakTime)),
      // When not stored, applying takes the sport's default.
      row("WarningOff", Kind::Boolean, console, 26, false, member(&TSettings::WarningOff)),

      row("CNames", Kind::Text, display, 5, "HEIM - GAST", member(&TSettings::CNames), name),
      row("Title", Kind::Text, display, 6, "TITEL", member(&TSettings::Title), name),
  };
  // The element colours "C0" ... "C4": background, title, clock, names, score.
  const TColor backgrounds[] = {colors::black, colors::black, colors::navy, colors::black,
                                colors::navy};
  for (int i = 0; i < 5; ++i)
    t.push_back(row(colorName(i), Kind::Color, display, 7 + i, qint32(backgrounds[i]),
                    inRecord([i](auto& s) -> auto& { return s.C[i]; })));
  // The element fonts 1 to 5 (title, clock, names, score, running text): colour, face, style.
  for (int n = 0; n < kElementFonts; ++n) {
    const int write = 12 + 3 * n;
    const TColor color = n == 4 ? colors::yellow : colors::white;
    t.push_back(row(fontValueName('C', n), Kind::Color, display, write, qint32(color),
                    inRecord([n](auto& s) -> auto& { return s.Fonts[n].color; })));
    t.push_back(row(fontValueName('N', n), Kind::Text, display, write + 1, "Arial",
                    inRecord([n](auto& s) -> auto& { return s.Fonts[n].face; }),
                    {kMaxFaceLength, TextRule::Face}));
    t.push_back(row(fontValueName('S', n), Kind::Style, display, write + 2, kBold,
                    inRecord([n](auto& s) -> auto& { return s.Fonts[n].style; })));
  }
  const std::vector<Setting> rest = {
      row("VidTablo", Kind::Integer, display, 27, 0, member(&TSettings::VidTablo)),
      // The display's design place.
      row("Wt", Kind::Integer, display, 1, 408,
          inPlaces([](const WindowPlaces& p) { return p.displaySize.width(); },
                   [](WindowPlaces& p, qint32 v) { p.displaySize.setWidth(v); })),
      row("Ht", Kind::Integer, display, 2, 331,
          inPlaces([](const WindowPlaces& p) { return p.displaySize.height(); },
                   [](WindowPlaces& p, qint32 v) { p.displaySize.setHeight(v); })),
      row("Xt", Kind::Integer, display, 3, 1023,
          inPlaces([](const WindowPlaces& p) { return p.displayPosition.x(); },
                   [](WindowPlaces& p, qint32 v) { p.displayPosition.setX(v); })),
      row("Yt", Kind::Integer, display, 4, 246,
          inPlaces([](const WindowPlaces& p) { return p.displayPosition.y(); },
                   [](WindowPlaces& p, qint32 v) { p.displayPosition.setY(v); })),
      row("FullScr", Kind::Boolean, display, 28, true, member(&TSettings::FullScr)),
  };
  t.insert(t.end(), rest.begin(), rest.end());
  return t;
}

// The first maxLength characters of text, one fewer where a surrogate pair would be split.
QString cut(const QString& text, int maxLength) {
  if (text.size() <= maxLength) return text;
  return text.left(text.at(maxLength - 1).isHighSurrogate() ? maxLength - 1 : maxLength);
}

// Reads one value; nothing when it is not to be applied. `ended` is set when the value ends
// the group.
std::optional<SettingValue> readValue(SettingsKey& key, const Setting& s, bool& ended) {
  if (s.kind != Kind::Text) {
    const SettingsKey::Integer read = key.readInteger(s.name);
    ended = read.status != Status::Ok;
    if (ended) return std::nullopt;
    return s.kind == Kind::Boolean ? qint32(read.value != 0) : read.value;
  }
  const SettingsKey::Text read = key.readText(s.name);
  if (s.textRule == TextRule::OtherKindIsEmpty) {
    if (read.status == Status::Missing) return std::nullopt;
    return read.status == Status::Ok ? cut(read.value, s.maxLength) : QString();
  }
  // A missing text is an empty one; only a text of another kind ends the group.
  ended = read.status == Status::WrongKind;
  if (ended) return std::nullopt;
  const QString text = cut(read.value, s.maxLength);
  if (text.isEmpty() && s.textRule != TextRule::Applied) return std::nullopt;
  return text;
}

StoredGroup readGroup(SettingsKey& key, Group group) {
  StoredGroup g;
  if (!key.openExisting()) return g;
  for (const Setting& s : settingsTable()) {
    if (s.group != group) continue;
    bool ended = false;
    const std::optional<SettingValue> value = readValue(key, s, ended);
    if (ended) break;
    if (value) g.add(s, *value);
  }
  key.close();
  return g;
}

// Puts every value read into the record, except those outside their range; gives the names
// of those it put.
QStringList applyGroup(const StoredGroup& g, TSettings& settings) {
  QStringList applied;
  WindowPlaces unused;
  for (const auto& [s, value] : g.values()) {
    if (s->range && (integerOf(value) < s->range->first || integerOf(value) > s->range->second))
      continue;
    // Only the four style bits mean anything; the others are not kept.
    s->set(settings, unused, s->kind == Kind::Style ? integerOf(value) & 0xF : value);
    applied << s->name;
  }
  return applied;
}

// Writes the group's values in its write order until one fails; the rest is then left alone.
void writeGroup(SettingsKey& key, Group group, const TSettings& settings,
                const WindowPlaces& places) {
  if (!key.openOrCreate()) return;
  std::vector<const Setting*> rows;
  for (const Setting& s : settingsTable())
    if (s.group == group) rows.push_back(&s);
  std::sort(rows.begin(), rows.end(),
            [](const Setting* a, const Setting* b) { return a->writePosition < b->writePosition; });
  for (const Setting* s : rows) {
    const SettingValue value = s->get(settings, places);
    const bool written =
        s->kind == Kind::Text
            ? key.writeText(s->name, s->textRule == TextRule::Face
                                         ? std::get<QString>(value).left(s->maxLength)
                                         : std::get<QString>(value))
            : key.writeInteger(s->name, integerOf(value));
    if (!written) break;
  }
  key.close();
}

}  // namespace

const std::vector<Setting>& settingsTable() {
  static const std::vector<Setting> table = makeTable();
  return table;
}

TSettings::TSettings() {
  WindowPlaces unused;
  for (const Setting& s : settingsTable())
    if (!std::holds_alternative<std::monostate>(s.defaultValue))
      s.set(*this, unused, s.defaultValue);
}

WindowPlaces defaultPlaces() {
  TSettings unused;
  WindowPlaces places;
  for (const Setting& s : settingsTable())
    if (!std::holds_alternative<std::monostate>(s.defaultValue))
      s.set(unused, places, s.defaultValue);
  return places;
}

void StoredGroup::add(const Setting& setting, const SettingValue& value) {
  values_.append({&setting, value});
}

bool StoredGroup::has(const QString& name) const {
  return std::any_of(values_.begin(), values_.end(),
                     [&](const auto& v) { return v.first->name == name; });
}

std::optional<qint32> StoredGroup::integer(const QString& name) const {
  for (const auto& [s, value] : values_)
    if (s->name == name && s->kind != Kind::Text) return integerOf(value);
  return std::nullopt;
}

std::optional<QString> StoredGroup::text(const QString& name) const {
  for (const auto& [s, value] : values_)
    if (s->name == name && s->kind == Kind::Text) return std::get<QString>(value);
  return std::nullopt;
}

QStringList StoredGroup::names() const {
  QStringList names;
  for (const auto& v : values_) names << v.first->name;
  return names;
}

bool ConsoleGroup::sportRefused() const {
  const std::optional<QString> sport = text("Sport");
  return sport && !SportRules::preset(*sport);
}

bool DisplayGroup::colorsComplete() const {
  for (int i = 0; i < 5; ++i)
    if (!has(colorName(i))) return false;
  return true;
}

ConsoleGroup readConsoleGroup(SettingsKey& key) { return {readGroup(key, Group::Console)}; }

DisplayGroup readDisplayGroup(SettingsKey& key) { return {readGroup(key, Group::Display)}; }

void applyConsoleGroup(const ConsoleGroup& g, TSettings& s) {
  const QStringList applied = applyGroup(g, s);
  if (g.sportRefused()) s.Sport = SportRules().name;
  // A break the dialog could not have set, or none stored, is the sport's own.
  const SportRules sport = SportRules::preset(s.Sport).value_or(SportRules{});
  if (!applied.contains("BreakTime")) s.BreakTime = sport.breakLength;
  if (!applied.contains("WarningOff")) s.WarningOff = !sport.warningByDefault;
}

void applyDisplayGroup(const DisplayGroup& g, TSettings& s) { applyGroup(g, s); }

void writeConsoleGroup(SettingsKey& key, const TSettings& s, const QRect& consoleBounds) {
  writeGroup(key, Group::Console, s, {consoleBounds, {}, {}});
}

void writeDisplayGroup(SettingsKey& key, const TSettings& s, const QSize& clientSize,
                       const QPoint& position) {
  writeGroup(key, Group::Display, s, {{}, clientSize, position});
}

void StyleFromBits(QFont& font, int bits) {
  font.setBold(bits & kBold);
  font.setItalic(bits & kItalic);
  font.setUnderline(bits & kUnderline);
  font.setStrikeOut(bits & kStrikeOut);
}

int StyleToBits(const QFont& font) {
  return (font.bold() ? kBold : 0) | (font.italic() ? kItalic : 0) |
         (font.underline() ? kUnderline : 0) | (font.strikeOut() ? kStrikeOut : 0);
}

int validMonitorIndex(int stored, int monitorCount) {
  return stored >= 0 && stored < monitorCount ? stored : 0;
}
