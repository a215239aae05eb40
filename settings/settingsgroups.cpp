#include "settings/settingsgroups.h"

#include <algorithm>

#include "core/sportrules.h"
#include "platform/settingskey.h"

namespace {

using Status = SettingsKey::Status;

enum StyleBit { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

// The first maxLength characters of text, one fewer where a surrogate pair would be split.
QString cut(const QString& text, int maxLength) {
  if (text.size() <= maxLength) return text;
  return text.left(text.at(maxLength - 1).isHighSurrogate() ? maxLength - 1 : maxLength);
}

// Reads values in order until one ends the group; every read after that yields nothing.
class GroupReader {
 public:
  explicit GroupReader(SettingsKey& key) : key_(key) {}

  std::optional<qint32> integer(const QString& name) {
    if (ended_) return std::nullopt;
    const SettingsKey::Integer read = key_.readInteger(name);
    ended_ = read.status != Status::Ok;
    return ended_ ? std::nullopt : std::optional(read.value);
  }
  std::optional<bool> boolean(const QString& name) {
    const std::optional<qint32> read = integer(name);
    return read ? std::optional(*read != 0) : std::nullopt;
  }
  std::optional<TColor> color(const QString& name) {
    const std::optional<qint32> read = integer(name);
    return read ? std::optional(TColor(*read)) : std::nullopt;
  }
  // A missing text is an empty one; only a text of another kind ends the group. Longer texts
  // are cut to maxLength characters.
  std::optional<QString> text(const QString& name, int maxLength) {
    if (ended_) return std::nullopt;
    const SettingsKey::Text read = key_.readText(name);
    ended_ = read.status == Status::WrongKind;
    return ended_ ? std::nullopt : std::optional(cut(read.value, maxLength));
  }
  // A text whose value of another kind reads as empty; missing, it reads as nothing.
  std::optional<QString> textOrEmpty(const QString& name, int maxLength) {
    if (ended_) return std::nullopt;
    const SettingsKey::Text read = key_.readText(name);
    if (read.status == Status::Missing) return std::nullopt;
    return read.status == Status::Ok ? cut(read.value, maxLength) : QString();
  }
  // Texts whose empty value changes nothing.
  std::optional<QString> nonEmptyText(const QString& name, int maxLength) {
    const std::optional<QString> read = text(name, maxLength);
    return read && !read->isEmpty() ? read : std::nullopt;
  }

 private:
  SettingsKey& key_;
  bool ended_ = false;
};

// Writes values in order until one fails; the rest of the group is then left alone.
class GroupWriter {
 public:
  explicit GroupWriter(SettingsKey& key) : key_(key) {}

  void integer(const QString& name, qint32 value) {
    failed_ = failed_ || !key_.writeInteger(name, value);
  }
  void boolean(const QString& name, bool value) { integer(name, value ? 1 : 0); }
  void color(const QString& name, TColor value) { integer(name, qint32(value)); }
  void text(const QString& name, const QString& value) {
    failed_ = failed_ || !key_.writeText(name, value);
  }

 private:
  SettingsKey& key_;
  bool failed_ = false;
};

QString colorName(int i) { return QStringLiteral("C%1").arg(i); }
// Element font values are numbered from 1: "FC1", "FN1", "FS1" ... "FS5".
QString fontValueName(char kind, int font) {
  return QStringLiteral("F%1%2").arg(kind).arg(font + 1);
}

template <typename T>
void applyIfRead(const std::optional<T>& read, T& field) {
  if (read) field = *read;
}

}  // namespace

bool DisplayGroup::colorsComplete() const {
  return std::all_of(C.begin(), C.end(), [](const auto& c) { return c.has_value(); });
}

ConsoleGroup readConsoleGroup(SettingsKey& key) {
  ConsoleGroup g;
  if (!key.openExisting()) return g;
  GroupReader r(key);
  g.CountDown = r.boolean("CountDown");
  g.Time = r.integer("Time");
  g.Monitor = r.integer("Monitor");
  g.Comanda1 = r.text("Comanda1", kMaxTextLength);
  g.Comanda2 = r.text("Comanda2", kMaxTextLength);
  g.TitelType = r.integer("TitelType");
  g.TitelType1 = r.text("TitelType1", kMaxTextLength);
  g.TitelType2 = r.text("TitelType2", kMaxPathLength);
  g.L = r.integer("L");
  g.T = r.integer("T");
  g.W = r.integer("W");
  g.H = r.integer("H");
  g.Speed = r.integer("Speed");
  g.SLoop = r.boolean("SLoop");
  g.SoundTime = r.integer("SoundTime");
  g.SoundFile = r.nonEmptyText("SoundFile", kMaxPathLength);
  g.StrReset = r.boolean("StrReset");
  g.RemoteOn = r.boolean("RemoteOn");
  g.RemotePort = r.integer("RemotePort");
  g.RemoteOverlayToken = r.text("RemoteOverlayToken", kMaxTextLength);
  g.Muted = r.boolean("Muted");
  g.RemoteColor1 = r.color("RemoteColor1");
  g.RemoteColor2 = r.color("RemoteColor2");
  g.Sport = r.textOrEmpty("Sport", kMaxTextLength);
  g.BreakTime = r.integer("BreakTime");
  g.WarningOff = r.boolean("WarningOff");
  key.close();
  return g;
}

DisplayGroup readDisplayGroup(SettingsKey& key) {
  DisplayGroup g;
  if (!key.openExisting()) return g;
  GroupReader r(key);
  g.CNames = r.text("CNames", kMaxTextLength);
  g.Title = r.text("Title", kMaxTextLength);
  for (int i = 0; i < int(g.C.size()); ++i) g.C[i] = r.color(colorName(i));
  for (int n = 0; n < kElementFonts; ++n) {
    StoredFont& font = g.fonts[n];
    font.color = r.color(fontValueName('C', n));
    font.face = r.nonEmptyText(fontValueName('N', n), kMaxFaceLength);
    font.style = r.integer(fontValueName('S', n));
  }
  g.VidTablo = r.integer("VidTablo");
  g.Wt = r.integer("Wt");
  g.Ht = r.integer("Ht");
  g.Xt = r.integer("Xt");
  g.Yt = r.integer("Yt");
  g.FullScr = r.boolean("FullScr");
  key.close();
  return g;
}

void applyConsoleGroup(const ConsoleGroup& g, TSettings& s) {
  applyIfRead(g.CountDown, s.CountDown);
  applyIfRead(g.Time, s.Time);
  applyIfRead(g.Monitor, s.Monitor);
  applyIfRead(g.Comanda1, s.Comanda1);
  applyIfRead(g.Comanda2, s.Comanda2);
  applyIfRead(g.TitelType, s.TitelType);
  applyIfRead(g.TitelType1, s.TitelType1);
  applyIfRead(g.TitelType2, s.TitelType2);
  applyIfRead(g.Speed, s.Speed);
  applyIfRead(g.SLoop, s.SLoop);
  applyIfRead(g.SoundTime, s.SoundTime);
  applyIfRead(g.SoundFile, s.SoundFile);
  applyIfRead(g.StrReset, s.StrReset);
  applyIfRead(g.RemoteOn, s.RemoteOn);
  applyIfRead(g.RemotePort, s.RemotePort);
  applyIfRead(g.RemoteOverlayToken, s.RemoteOverlayToken);
  applyIfRead(g.Muted, s.Muted);
  applyIfRead(g.RemoteColor1, s.RemoteColor1);
  applyIfRead(g.RemoteColor2, s.RemoteColor2);
  if (g.Sport) s.Sport = g.sportRefused() ? SportRules().name : *g.Sport;
  // A break the dialog could not have set (or none stored) is the sport's own.
  const bool breakFits = g.BreakTime && *g.BreakTime >= 0 && *g.BreakTime <= kMaxBreakTime;
  s.BreakTime =
      breakFits ? *g.BreakTime : SportRules::preset(s.Sport).value_or(SportRules{}).breakLength;
  s.WarningOff =
      g.WarningOff.value_or(!SportRules::preset(s.Sport).value_or(SportRules{}).warningByDefault);
}

bool ConsoleGroup::sportRefused() const { return Sport && !SportRules::preset(*Sport); }

void applyDisplayGroup(const DisplayGroup& g, TSettings& s) {
  applyIfRead(g.CNames, s.CNames);
  applyIfRead(g.Title, s.Title);
  for (size_t i = 0; i < g.C.size(); ++i) applyIfRead(g.C[i], s.C[i]);
  for (int n = 0; n < kElementFonts; ++n) {
    applyIfRead(g.fonts[n].color, s.Fonts[n].color);
    applyIfRead(g.fonts[n].face, s.Fonts[n].face);
    // Only the four style bits mean anything; the others are not kept.
    if (g.fonts[n].style) s.Fonts[n].style = *g.fonts[n].style & 0xF;
  }
  applyIfRead(g.VidTablo, s.VidTablo);
  applyIfRead(g.FullScr, s.FullScr);
}

void writeConsoleGroup(SettingsKey& key, const TSettings& s, const QRect& consoleBounds) {
  if (!key.openOrCreate()) return;
  GroupWriter w(key);
  w.integer("L", consoleBounds.left());
  w.integer("T", consoleBounds.top());
  w.integer("W", consoleBounds.width());
  w.integer("H", consoleBounds.height());
  w.boolean("CountDown", s.CountDown);
  w.integer("Time", s.Time);
  w.text("Comanda1", s.Comanda1);
  w.text("Comanda2", s.Comanda2);
  w.integer("TitelType", s.TitelType);
  w.text("TitelType1", s.TitelType1);
  w.text("TitelType2", s.TitelType2);
  w.integer("Monitor", s.Monitor);
  w.integer("Speed", s.Speed);
  w.boolean("SLoop", s.SLoop);
  w.integer("SoundTime", s.SoundTime);
  w.text("SoundFile", s.SoundFile);
  w.boolean("StrReset", s.StrReset);
  w.boolean("RemoteOn", s.RemoteOn);
  w.integer("RemotePort", s.RemotePort);
  w.text("RemoteOverlayToken", s.RemoteOverlayToken);
  w.boolean("Muted", s.Muted);
  w.color("RemoteColor1", s.RemoteColor1);
  w.color("RemoteColor2", s.RemoteColor2);
  w.text("Sport", s.Sport);
  w.integer("BreakTime", s.BreakTime);
  w.boolean("WarningOff", s.WarningOff);
  key.close();
}

void writeDisplayGroup(SettingsKey& key, const DisplayValues& v) {
  if (!key.openOrCreate()) return;
  GroupWriter w(key);
  w.integer("Wt", v.clientSize.width());
  w.integer("Ht", v.clientSize.height());
  w.integer("Xt", v.position.x());
  w.integer("Yt", v.position.y());
  w.text("CNames", v.CNames);
  w.text("Title", v.Title);
  for (int i = 0; i < int(v.C.size()); ++i) w.color(colorName(i), v.C[i]);
  for (int n = 0; n < kElementFonts; ++n) {
    const ElementFont& font = v.fonts[n];
    w.color(fontValueName('C', n), font.color);
    w.text(fontValueName('N', n), font.face.left(kMaxFaceLength));
    w.integer(fontValueName('S', n), font.style);
  }
  w.integer("VidTablo", v.VidTablo);
  w.boolean("FullScr", v.FullScr);
  key.close();
}

DisplayValues displayValues(const TSettings& s, const QSize& clientSize, const QPoint& position) {
  return {clientSize, position, s.CNames, s.Title, s.C, s.Fonts, s.VidTablo, s.FullScr};
}

DisplayValues defaultDisplayValues() { return displayValues(TSettings(), {408, 331}, {1023, 246}); }

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
