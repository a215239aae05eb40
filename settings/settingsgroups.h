#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "platform/color.h"
#include "settings/tsettings.h"

class SettingsKey;

// The two groups of stored settings: which values, in which order, and what a missing or
// mistyped value means. Every value is one row of the settings table (settingsTable()): its
// name, kind, group, place in the write order and default; reading, applying, writing and the
// record's defaults all go by it. Plain code; the windows apply what is read and hand in what
// is written.
//
// Reading (readConsoleGroup / readDisplayGroup) opens the key without creating it and takes the
// values in reading order up to the first value that ends the group: an integer, boolean,
// colour or style value that is missing or of another kind, or a text of another kind. That
// value and all later ones are not read. A missing text reads as empty text and is applied; an
// empty "SoundFile" or font face is not read, as it must change nothing. So a window applies
// every value read, in reading order, and nothing else; its defaults stand for the rest.
//
// Applying: applyConsoleGroup / applyDisplayGroup put every value read into the settings
// record; the windows then take the record from the settings object. The console applies its
// bounds L, T, W, H itself, the display its Wt, Ht, Xt, Yt, in that order.
//
// Writing (writeConsoleGroup / writeDisplayGroup) opens the key, creating it; if that fails
// nothing is written. The values go out in the group's write order, each as its kind, until
// the first write that fails. Failures are not reported: the program goes on with what it has.

// The element fonts 1 to 5: title, clock, names, score, running text.
constexpr int kElementFonts = 5;
// Faces longer than this are cut, as a system font name holds no more.
constexpr int kMaxFaceLength = 31;
// Stored texts are cut to these lengths when read: team names, names line, titles and the
// overlay token to far more than a label can show, paths to what a file system takes. A
// damaged store must not hand the windows a megabyte of text to lay out.
constexpr int kMaxTextLength = 256;
constexpr int kMaxPathLength = 4096;
// The longest break the dialog's "MM:SS" field can give.
constexpr int kMaxBreakTime = 59 * 60 + 59;

// Where the windows are, stored with the groups.
struct WindowPlaces {
  QRect console;           // "L", "T", "W", "H": left, top, outer width and outer height
  QSize displaySize;       // "Wt", "Ht": client width and height
  QPoint displayPosition;  // "Xt", "Yt": outer left and top edge
};

enum class SettingKind { Text, Integer, Boolean, Color, Style };
enum class SettingGroup { Console, Display };

// How a text is taken when it is read.
enum class TextRule {
  Applied,              // a missing text reads as empty and is applied
  EmptyChangesNothing,  // an empty or missing text is not applied
  Face,                 // as EmptyChangesNothing; also cut when written
  OtherKindIsEmpty,     // of another kind it reads as empty, missing as nothing; neither ends
};

// A value as stored: texts as text, every other kind as a 32-bit integer. Nothing: the value
// has no default of its own (a window's place, which the window system chooses).
using SettingValue = std::variant<std::monostate, qint32, QString>;

// One stored value: a row of the settings table. The table's order is the reading order.
struct Setting {
  QString name;
  SettingKind kind;
  SettingGroup group;
  int writePosition;  // its place in the group's write order, from 1
  SettingValue defaultValue;
  int maxLength = 0;  // texts: cut to this many characters when read
  TextRule textRule = TextRule::Applied;
  // Integers outside this range are read but not applied; the record keeps what it had.
  std::optional<std::pair<qint32, qint32>> range;
  std::function<SettingValue(const TSettings&, const WindowPlaces&)> get;
  std::function<void(TSettings&, WindowPlaces&, const SettingValue&)> set;
};

// Every stored value of both groups, in reading order.
const std::vector<Setting>& settingsTable();

// The values a group read, in reading order.
class StoredGroup {
 public:
  void add(const Setting& setting, const SettingValue& value);
  bool has(const QString& name) const;
  std::optional<qint32> integer(const QString& name) const;
  std::optional<QString> text(const QString& name) const;
  QStringList names() const;
  // Each value read with its row.
  const QList<std::pair<const Setting*, SettingValue>>& values() const { return values_; }

 private:
  QList<std::pair<const Setting*, SettingValue>> values_;
};

struct ConsoleGroup : StoredGroup {
  // A stored sport that names no preset: applying takes "standard" instead.
  bool sportRefused() const;
};

struct DisplayGroup : StoredGroup {
  // The element colours go onto the display only when all five were read.
  bool colorsComplete() const;
};

ConsoleGroup readConsoleGroup(SettingsKey& key);
DisplayGroup readDisplayGroup(SettingsKey& key);

// Puts every value read that lives in the settings record into it. A refused sport gives
// "standard"; without a break applied, the break is the sport's.
void applyConsoleGroup(const ConsoleGroup& group, TSettings& settings);
void applyDisplayGroup(const DisplayGroup& group, TSettings& settings);

// The console group from the record and the console's bounds: left, top, client width and
// client height.
void writeConsoleGroup(SettingsKey& key, const TSettings& settings, const QRect& consoleBounds);
// The display group from the record and the display window's client size and position.
void writeDisplayGroup(SettingsKey& key, const TSettings& settings, const QSize& clientSize,
                       const QPoint& position);

// The display's design place: where it stands when nothing is stored.
WindowPlaces defaultPlaces();

// Style bits: 1 bold, 2 italic, 4 underline, 8 strike-out; other bits are ignored.
// StyleFromBits first clears all four styles.
void StyleFromBits(QFont& font, int bits);
int StyleToBits(const QFont& font);

// The stored monitor index is taken as it is; before it selects a monitor, an index that is
// negative or not below the number of monitors becomes 0.
int validMonitorIndex(int stored, int monitorCount);
