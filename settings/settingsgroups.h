#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "platform/color.h"
#include "settings/tsettings.h"

class SettingsKey;

// The two groups of stored settings: which values, in which order, and what a missing or
// mistyped value means. Plain code; the windows apply what is read and hand in what is written.
//
// Reading (readConsoleGroup / readDisplayGroup) opens the key without creating it and fills the
// fields in reading order up to the first value that ends the group: an integer, boolean,
// colour or style value that is missing or of another kind, or a text of another kind. That
// field and all later ones stay empty. A missing text reads as empty text and is applied; an
// empty "SoundFile" or font face is left empty, as it must change nothing. So a window applies
// every engaged field, in field order, and nothing else; its defaults stand for the rest.
//
// Applying: applyConsoleGroup / applyDisplayGroup put every engaged field into the settings
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

struct ConsoleGroup {
  std::optional<bool> CountDown;
  std::optional<qint32> Time;
  std::optional<qint32> Monitor;
  std::optional<QString> Comanda1;
  std::optional<QString> Comanda2;
  std::optional<qint32> TitelType;
  std::optional<QString> TitelType1;
  std::optional<QString> TitelType2;
  std::optional<qint32> L, T, W, H;  // console left, top, outer width, outer height
  std::optional<qint32> Speed;
  std::optional<bool> SLoop;
  std::optional<qint32> SoundTime;
  std::optional<QString> SoundFile;  // empty when the stored text is empty
  std::optional<bool> StrReset;
  std::optional<bool> RemoteOn;
  std::optional<qint32> RemotePort;
  std::optional<QString> RemoteOverlayToken;
  std::optional<bool> Muted;
  std::optional<TColor> RemoteColor1, RemoteColor2;
  // As stored; empty for a value of another kind, which ends nothing as it is the last one.
  std::optional<QString> Sport;
  std::optional<qint32> BreakTime;
  std::optional<bool> WarningOff;  // not read: the sport's default

  // A stored sport that names no preset: applying takes "standard" instead.
  bool sportRefused() const;
};

struct StoredFont {
  std::optional<TColor> color;
  std::optional<QString> face;  // empty when the stored face is empty
  std::optional<int> style;     // style bits
};

struct DisplayGroup {
  std::optional<QString> CNames;
  std::optional<QString> Title;
  std::array<std::optional<TColor>, 5> C;
  std::array<StoredFont, kElementFonts> fonts;
  std::optional<qint32> VidTablo;
  std::optional<qint32> Wt, Ht;  // client width and height
  std::optional<qint32> Xt, Yt;  // outer left and top edge
  std::optional<bool> FullScr;

  // The element colours go onto the display only when all five were read.
  bool colorsComplete() const;
};

ConsoleGroup readConsoleGroup(SettingsKey& key);
DisplayGroup readDisplayGroup(SettingsKey& key);

// Puts every engaged field that lives in the settings record into it; a stored font changes
// only the parts of the record's font that were read.
void applyConsoleGroup(const ConsoleGroup& group, TSettings& settings);
void applyDisplayGroup(const DisplayGroup& group, TSettings& settings);

// The console group from the record and the console's bounds: left, top, client width and
// client height.
void writeConsoleGroup(SettingsKey& key, const TSettings& settings, const QRect& consoleBounds);

// The display group as it stands at exit.
struct DisplayValues {
  QSize clientSize;  // "Wt", "Ht"
  QPoint position;   // "Xt", "Yt": outer left and top edge
  QString CNames;    // text of the names line Label3
  QString Title;     // text of the title line Label1
  std::array<TColor, 5> C;
  std::array<ElementFont, kElementFonts> fonts;
  qint32 VidTablo;
  bool FullScr;
};

void writeDisplayGroup(SettingsKey& key, const DisplayValues& values);

// The display group from the record and the display window's client size and position.
DisplayValues displayValues(const TSettings& settings, const QSize& clientSize,
                            const QPoint& position);
// The display's design values: what it shows when nothing is stored.
DisplayValues defaultDisplayValues();

// Style bits: 1 bold, 2 italic, 4 underline, 8 strike-out; other bits are ignored.
// StyleFromBits first clears all four styles.
void StyleFromBits(QFont& font, int bits);
int StyleToBits(const QFont& font);

// The stored monitor index is taken as it is; before it selects a monitor, an index that is
// negative or not below the number of monitors becomes 0.
int validMonitorIndex(int stored, int monitorCount);
