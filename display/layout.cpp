#include "display/layout.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

namespace {

// value × numerator ÷ denominator (denominator > 0), nearest integer with halves to even.
// Exact, so that a product such as 10 × 0.95 is a true half.
int scaleHalfEven(int value, int numerator, int denominator) {
  const qint64 product = qint64(value) * numerator;
  qint64 quotient = product / denominator;
  const qint64 twiceRest = 2 * std::abs(product % denominator);
  const int sign = product < 0 ? -1 : 1;
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0)) quotient += sign;
  return int(quotient);
}

// The bottom of a rectangle as the layout counts it: top plus height.
int bottomOf(const QRect& r) { return r.y() + r.height(); }

// Text size in `font`, as an autosized label measures itself.
QSize textExtent(const FittedText& t, int points, int ppi) {
  const QFontMetrics fm(fontWithPointSize(t.font, points, ppi));
  return QSize(fm.horizontalAdvance(t.text), fm.height());
}

Bands layoutBands(const LayoutInput& in, const QRect& title, int frameTop) {
  const int W = in.width, H = in.height;
  Bands b;
  QRect aboveScore;
  switch (in.view) {
    case 0:
      b.rowUnit = H / 5;
      b.label2 = QRect(0, bottomOf(title), W, b.rowUnit);
      b.clockCharHeight = scaleHalfEven(b.rowUnit, 95, 100);
      b.label3 = QRect(0, bottomOf(b.label2), W, b.rowUnit);
      aboveScore = b.label3;
      break;
    case 1:
    case 2:
      b.rowUnit = H / 6;
      b.label3 = QRect(0, bottomOf(title), W, b.rowUnit);
      b.label2 = QRect(0, bottomOf(b.label3), W, (3 * b.rowUnit) / 2);
      b.clockCharHeight = scaleHalfEven(b.rowUnit, 95, 100);
      aboveScore = b.label2;
      break;
    default:  // view 3
      b.rowUnit = H / 6;
      b.label3 = QRect(0, bottomOf(title), W, (2 * b.rowUnit) / 3);
      b.label2 = QRect(0, bottomOf(b.label3), W, (5 * b.rowUnit) / 2);
      b.clockCharHeight = scaleHalfEven(b.rowUnit, 959, 1000);
      aboveScore = b.label2;
      break;
  }
  b.namesPoints = FitFont(in.names.text, b.label3.size(), in.names.font, in.ppi);

  const int scoreHeight = frameTop - bottomOf(aboveScore);
  b.label4 = QRect(0, frameTop - scoreHeight, W, scoreHeight);
  const int periodWidth = b.label4.height() / 2;
  b.label5 = QRect((W - periodWidth) / 2, b.label4.y(), periodWidth, b.label4.height());
  b.image1 = title;

  const int logoWidth = (W * 10) / 33;
  b.logo1 = QRect(0, b.label2.y(), logoWidth, b.label2.height());
  b.logo2 = QRect(W - logoWidth, b.logo1.y(), logoWidth, b.logo1.height());
  b.labelLogo1 = b.logo1;
  b.labelLogo2 = b.logo2;
  b.logoTextPoints = b.rowUnit / 4;

  // The clock keeps the middle of its band, with or without logos.
  b.label2.setLeft(b.logo1.width());
  b.label2.setWidth(W - b.logo1.width() - b.logo2.width());
  return b;
}

}  // namespace

MarkLayout layoutMark(const QSize& client, const FittedText& left, int ppi) {
  const int w = client.width(), h = client.height();
  const int leftWidth = (w * 33) / 100;
  const int rightWidth = (w * 23) / 100;
  MarkLayout m;
  m.left = QRect(0, 0, leftWidth, h);
  m.right = QRect(w - rightWidth, 0, rightWidth, h);
  m.middle = QRect(leftWidth, 0, w - leftWidth - rightWidth, h);
  m.pointSize = FitFont(left.text, m.left.size(), left.font, ppi, false);
  return m;
}

TabloLayout layoutTablo(const LayoutInput& in) {
  const int W = in.width, H = in.height;
  TabloLayout out;
  out.panelLogo = QRect(0, 0, in.outerWidth, in.outerHeight);
  out.namesVisible = in.view != 2;

  const int frameHeight = in.outerHeight / 13;
  const int frameWidth = W / 4;
  out.frame = QRect(W - frameWidth, H - frameHeight, frameWidth, frameHeight);

  const int u0 = H / 5;
  out.basePoints = u0 / 2;

  // The date keeps to the top right corner and sizes itself to its text; the title (its text
  // fitted, a picture scaled) takes the room left of it, so that the two never overlap.
  out.datePoints = u0 / 3;
  const QSize date = textExtent(in.date, out.datePoints, in.ppi);
  out.labelData = QRect(W - date.width(), -1, date.width(), date.height());
  out.label1 = QRect(0, 0, std::max(W - date.width(), 0), u0);
  out.titlePoints = FitFont(in.title.text, out.label1.size(), in.title.font, in.ppi);

  if (in.view >= 0 && in.view <= 3) out.bands = layoutBands(in, out.label1, out.frame.y());
  const QRect score = out.bands ? out.bands->label4 : in.score0;
  const QRect period = out.bands ? out.bands->label5 : in.period0;

  out.scorePoints = FitFont(in.score.text, score.size(), in.score.font, in.ppi);
  out.periodPoints = out.scorePoints / 3;

  // The strip is a little taller than the frame and may reach below the client area.
  out.runPoints = (frameHeight * 66) / 100;
  out.runLabel =
      QRect(0, out.frame.y(), W - frameWidth, (pointsToPixels(out.runPoints, in.ppi) * 100) / 85);

  const int penaltyWidth = W / 6, penaltyHeight = score.height() / 2;
  out.straf1a = QRect(score.x(), score.y(), penaltyWidth, penaltyHeight);
  out.straf1b = out.straf1a.translated(0, penaltyHeight);
  out.straf2a = QRect(W - penaltyWidth, score.y(), penaltyWidth, penaltyHeight);
  out.straf2b = out.straf2a.translated(0, penaltyHeight);
  out.penaltyPoints = scaleHalfEven(penaltyHeight, 45, 100);
  out.penaltiesVisible = in.view < 2;

  // The pause sign: a square as wide as the period column, centred vertically.
  out.panelPause = period;
  out.panelPauseRed =
      QRect(0, (period.height() - period.width()) / 2, period.width(), period.width());
  out.caption = QString("%1x%2").arg(W).arg(H);
  return out;
}

std::optional<QSize> plausibleFrame(const QSize& frame, const QSize& monitor) {
  const QSize limit = monitor / 4;
  if (frame == QSize(0, 0) || frame.width() < 0 || frame.height() < 0 ||
      frame.width() > limit.width() || frame.height() > limit.height())
    return std::nullopt;
  return frame;
}

QSize leastClientSize(const QSize& reportedFrame, const QSize& monitor) {
  const QSize frame = plausibleFrame(reportedFrame, monitor).value_or(QSize(0, 0));
  return (QSize(320, 240) - frame).expandedTo(QSize(0, 0));
}
