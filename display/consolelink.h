#pragma once

#include <QString>

struct TSettings;

// What the display asks of the console while it is created and used. The console implements
// it; display tests implement it with a recorder.
class ConsoleLink {
 public:
  virtual ~ConsoleLink() = default;
  // The settings record owned by the console (team names, title type, monitor, view...).
  virtual TSettings& settings() = 0;
  // The names text goes to the console's header, which refits its font.
  virtual void setNamesHeader(const QString& text) = 0;
  // The console's four penalty labels are shown for views 0 and 1 only.
  virtual void setPenaltyLabelsVisible(bool visible) = 0;
  // Ends all four penalty slots ("2:00", idle colour on both windows).
  virtual void endAllPenalties() = 0;
  // The console clock shows the same start text as the display clock.
  virtual void setConsoleClockText(const QString& text) = 0;
  // The clock text of v whole seconds, in the current count direction.
  virtual QString clockText(int seconds) const = 0;
  // The display became the active window: the console's front-window mark is cleared.
  virtual void displayActivated() = 0;
  // A logo-screen picture was loaded: the console's Logo command becomes available.
  virtual void enableLogoCommand() = 0;
};
