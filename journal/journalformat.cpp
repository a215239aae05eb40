#include "journal/journalformat.h"

#include <QJsonArray>

namespace journalformat {

QDateTime wallNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return now.toOffsetFromUtc(now.offsetFromUtc());
}

QJsonObject head(const QDateTime& started) {
  return {{"k", "head"},
          {"program", kProgram},
          {"format", kVersion},
          {"started", started.toString(Qt::ISODateWithMs)}};
}

QJsonObject state(const QJsonObject& match, const QDateTime& wall) {
  return {{"k", "state"}, {"wall", wall.toString(Qt::ISODateWithMs)}, {"match", match}};
}

QJsonObject texts(const RunningTexts& texts) {
  return {{"k", "texts"},
          {"lines", QJsonArray::fromStringList(texts.lines)},
          {"selected", texts.selected}};
}

QJsonObject event(const MatchEvent& event) {
  QJsonObject line = toJson(event);
  line["k"] = "event";
  return line;
}

QJsonObject end(const QDateTime& wall) {
  return {{"k", "end"}, {"wall", wall.toString(Qt::ISODateWithMs)}};
}

}  // namespace journalformat
