#include "widgets/fontsize.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdlib>

namespace {

// a × b ÷ c (c > 0), rounded to the nearest integer with halves away from zero.
int mulDiv(int a, int b, int c) {
  const qint64 product = qint64(a) * b;
  const qint64 rounded = (std::abs(product) * 2 + c) / (2 * qint64(c));
  return int(product < 0 ? -rounded : rounded);
}

QFontMetrics metricsAt(const QFont& font, int points, int ppi) {
  return QFontMetrics(fontWithPointSize(font, points, ppi));
}

// The first point size from `top` down to 1 whose measured extent is below `limit`, or 1.
// Font metrics never shrink as the size grows, so that is the largest fitting size up to
// `top`; starting from a proportional guess finds it with a few measurements instead of one
// per point (a large display starts a few hundred points up).
template <typename Extent>
int firstFittingDownFrom(int top, int limit, Extent extent) {
  const int atTop = extent(top);
  if (top <= 1 || atTop < limit) return top;
  int s = std::clamp(int(qint64(top) * limit / std::max(atTop, 1)), 1, top - 1);
  if (extent(s) < limit) {
    while (s + 1 < top && extent(s + 1) < limit) ++s;
  } else {
    while (s > 1 && extent(s) >= limit) --s;
  }
  return s;
}

}  // namespace

int pointsToPixels(int points, int ppi) { return mulDiv(points, ppi, 72); }

int pixelsToPoints(int pixels, int ppi) { return mulDiv(pixels, 72, ppi); }

QFont fontWithCharHeight(const QFont& font, int pixels) {
  QFont f(font);
  f.setPixelSize(std::max(pixels, 1));
  return f;
}

QFont fontWithPointSize(const QFont& font, int points, int ppi) {
  return fontWithCharHeight(font, pointsToPixels(points, ppi));
}

int fontPointSize(const QFont& font, int ppi) { return pixelsToPoints(font.pixelSize(), ppi); }

QString textWithoutAccelerators(const QString& caption) {
  QString text;
  text.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && ++i == caption.size()) break;
    text += caption[i];
  }
  return text;
}

int FitFont(const QString& text, const QSize& labelSize, const QFont& font, int ppi,
            bool fitHeight) {
  const int start = std::max(pixelsToPoints(labelSize.height(), ppi), 1);
  int s = firstFittingDownFrom(start, labelSize.width(), [&](int points) {
    return metricsAt(font, points, ppi).horizontalAdvance(text);
  });
  if (fitHeight) {
    s = firstFittingDownFrom(s, labelSize.height(),
                             [&](int points) { return metricsAt(font, points, ppi).height(); });
  }
  return s;
}

int fitCharHeightToWidth(const QString& text, const QFont& font, int charHeight, int width) {
  return firstFittingDownFrom(std::max(charHeight, 1), width + 1, [&](int pixels) {
    return QFontMetrics(fontWithCharHeight(font, pixels)).horizontalAdvance(text);
  });
}
