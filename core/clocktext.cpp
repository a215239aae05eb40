#include "core/clocktext.h"

QString SpanText(int v) {
  QString text =
      QString::number((v / 60) % 60) + ':' + QString::number(v % 60).rightJustified(2, '0');
  if (v >= 3600) {
    if (text.size() == 4) text.prepend('0');
    text = QString::number(v / 3600) + ':' + text;
  }
  return text;
}

QString ClockText(int v, bool countDown, int periodLength) {
  return SpanText(countDown ? periodLength - v : v);
}
