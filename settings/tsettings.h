#pragma once

#include <QString>
#include <array>

#include "platform/color.h"

// A display element's font as stored: colour, face and style bits (1 bold, 2 italic,
// 4 underline, 8 strike-out). Its size comes from the display's layout.
struct ElementFont {
  TColor color;
  QString face;
  int style;

  bool operator==(const ElementFont&) const = default;
};

// The settings record, held by the one Settings object. Field names are the names of the
// stored values. A new record holds every value's default, as the settings table
// (settings/settingsgroups.cpp) declares it next to the value's name, kind and group.
struct TSettings {
  TSettings();

  // Console group.
  bool CountDown{};
  qint32 Time{};     // period length in seconds
  qint32 Monitor{};  // index of the display's monitor in the system's list
  QString Comanda1;
  QString Comanda2;
  qint32 TitelType{};  // 1 text, 2 picture; anything else behaves as text
  QString TitelType1;
  QString TitelType2;
  qint32 Speed{};  // running-text pixels per ticker step
  bool SLoop{};
  qint32 SoundTime{};  // warning lead in seconds
  QString SoundFile;   // chosen at start-up unless a non-empty value is stored
  bool StrReset{};
  // The remote control's server; files written before it existed lack these values.
  bool RemoteOn{};  // started with the program
  qint32 RemotePort{};
  QString RemoteOverlayToken;  // empty: the stream overlay is open to the hall's network
  // Files written before it existed lack this value.
  bool Muted{};  // no sound plays
  // "kein Warnton": no warning before a period's end; when not stored, the sport's default.
  bool WarningOff{};
  // The teams' colours in the stream overlay (home, guest).
  TColor RemoteColor1{};
  TColor RemoteColor2{};
  QString Sport;  // the rules preset played by (core/sportrules.h)
  // The break between periods in seconds; files written before it existed take the sport's.
  qint32 BreakTime{};

  // Display group (its bounds belong to the display window).
  QString CNames;  // the names line
  QString Title;   // the title line
  std::array<TColor, 5> C{};
  // Element fonts 1 to 5 ("FC1", "FN1", "FS1" ...): title, clock, names, score, running text.
  std::array<ElementFont, 5> Fonts{};
  qint32 VidTablo{};
  bool FullScr{};

  bool operator==(const TSettings&) const = default;
};
