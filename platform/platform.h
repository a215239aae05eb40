#pragma once

class Desktop;
class Dialogs;
class HelpViewer;
class SoundService;
class TickCounter;

// Everything the windows take from the operating system, injected at start-up.
// The program passes the Qt implementations; tests pass fakes.
struct Platform {
  TickCounter& tick;
  SoundService& sound;
  Desktop& desktop;
  Dialogs& dialogs;
  HelpViewer& help;
};
