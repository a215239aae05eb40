#include "core/clocktext.h"

#include <QRegularExpression>

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

std::optional<int> SpanSeconds(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^\\s*([0-9]{1,3}):([0-5][0-9])\\s*$"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch()) return std::nullopt;
  return m.captured(1).toInt() * 60 + m.captured(2).toInt();
}

std::optional<int> ClockTimeSeconds(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral("^\\s*(?:([0-9]{1,2}):([0-5][0-9])|([0-9]{1,3})):([0-5][0-9])\\s*$"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch()) return std::nullopt;
  if (m.captured(3).isEmpty())
    return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(4).toInt();
  return m.captured(3).toInt() * 60 + m.captured(4).toInt();
}
