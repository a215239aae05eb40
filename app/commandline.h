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
