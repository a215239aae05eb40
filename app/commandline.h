#pragma once

#include <QStringList>
#include <optional>
#include <stdexcept>

// Limits and placement of the display window from the command line: /H, /W, /X, /Y followed
// directly by a signed integer, in either case (/x100, /W800). Later options win.
struct DisplayOptions {
  std::optional<int> maxHeight;
  std::optional<int> maxWidth;
  std::optional<int> left;  // relative to the selected monitor
  std::optional<int> top;
};

// A value that is not an integer; what() is the message shown to the operator.
class InvalidOptionValue : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `arguments` excludes the program name. Throws InvalidOptionValue.
DisplayOptions parseDisplayOptions(const QStringList& arguments);

// The long options (--name, --name=value, --name value) that the program answers before it
// opens any window or connects to a display. Arguments it does not know are left alone: Qt takes
// its own
// (--platform, --style) and the display options above take theirs.
struct StartOptions {
  bool printHelp = false;
  bool printVersion = false;
  std::optional<QString> reportJournal;  // --report: print this journal's match report
  QString reportFormat = "csv";
  bool remote = false;            // start the remote control's server
  std::optional<int> remotePort;  // --remote=PORT; otherwise the stored port
  std::optional<QString> sport;   // --sport=NAME: the sport to play by, stored as the setting
};

// `arguments` excludes the program name. Throws InvalidOptionValue for a port that is not a
// number from 1 to 65535 and for a sport no preset has.
StartOptions parseStartOptions(const QStringList& arguments);

// The text to print for --help or --version, or empty when the program is to start its windows.
QString terminalAnswer(const StartOptions& options);
