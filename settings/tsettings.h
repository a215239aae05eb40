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
// stored values; the initial values are the defaults used when nothing is stored.
struct TSettings {
  // Console group.
  bool CountDown = true;
  qint32 Time = 2700;  // period length in seconds
  qint32 Monitor = 0;  // index of the display's monitor in the system's list
  QString Comanda1 = "HEIM";
  QString Comanda2 = "GAST";
  qint32 TitelType = 1;  // 1 text, 2 picture; anything else behaves as text
  QString TitelType1 = "SPIELTITEL";
  QString TitelType2 = "C:\\....";
  qint32 Speed = 3;  // running-text pixels per ticker step
  bool SLoop = false;
  qint32 SoundTime = 60;  // warning lead in seconds
  QString SoundFile;      // chosen at start-up unless a non-empty value is stored
  bool StrReset = false;
  // The remote control's server; files written before it existed lack these values.
  bool RemoteOn = false;  // started with the program
  qint32 RemotePort = 8440;
  QString RemoteOverlayToken;  // empty: the stream overlay is open to the hall's network
  // Files written before it existed lack this value.
  bool Muted = false;  // no sound plays
  // "kein Warnton": no warning before a period's end; when not stored, the sport's default.
  bool WarningOff = false;
  // The teams' colours in the stream overlay (home, guest).
  TColor RemoteColor1 = 0x2828B4;
  TColor RemoteColor2 = 0xA05A1E;
  QString Sport = "standard";  // the rules preset played by (core/sportrules.h)
  // The break between periods in seconds; files written before it existed take the sport's.
  qint32 BreakTime = 900;

  // Display group (its bounds belong to the display window).
  QString CNames = "HEIM - GAST";  // the names line
  QString Title = "TITEL";         // the title line
  std::array<TColor, 5> C = {colors::black, colors::black, colors::navy, colors::black,
                             colors::navy};
  // Element fonts 1 to 5 ("FC1", "FN1", "FS1" ...): title, clock, names, score, running text.
  std::array<ElementFont, 5> Fonts = {
      ElementFont{colors::white, "Arial", 1}, ElementFont{colors::white, "Arial", 1},
      ElementFont{colors::white, "Arial", 1}, ElementFont{colors::white, "Arial", 1},
      ElementFont{colors::yellow, "Arial", 1}};
  qint32 VidTablo = 0;
  bool FullScr = true;

  bool operator==(const TSettings&) const = default;
};
