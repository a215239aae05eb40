#pragma once

#include "core/matchstate.h"

class TRunLabel;

// Puts the match's running text on a ticker. A new start shows the text from the right border
// (a static text stands with its left edge at the left border), a new text of all-texts
// playback follows the pass just ended, a stop takes the ticker off.
class RunTextView {
 public:
  explicit RunTextView(TRunLabel& ticker) : ticker_(ticker) {}

  // `step` is the running text's pixels per tick, taken with every new text.
  void show(const RunTextState& state, int step);

 private:
  TRunLabel& ticker_;
  RunTextState shown_;
};
