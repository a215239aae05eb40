#include "ticker/runtextview.h"

#include "ticker/runstring.h"

void RunTextView::show(const RunTextState& state, int step) {
  if (state == shown_) return;
  if (!state.shown) {
    ticker_.Stop();
    ticker_.hide();
  } else if (state.starts != shown_.starts) {
    ticker_.setFitToWidth(state.mode == runTextStatic);
    ticker_.setRText(state.text);
    ticker_.setOneStep(step);
    ticker_.show();
    if (state.mode == runTextStatic) {
      // The step equal to the width puts the text box's left edge on the left border.
      ticker_.Start(ticker_.width());
      ticker_.Stop();
      // Freezing does not repaint by itself; an unchanged text would stay where it was.
      ticker_.update();
    } else {
      ticker_.Start(1);
    }
  } else if (state.text != shown_.text) {
    ticker_.setRText(state.text);
    ticker_.setOneStep(step);
  }
  shown_ = state;
}
