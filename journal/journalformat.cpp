#include "journal/journalformat.h"

#include <QJsonArray>

#include "journal/journalline.h"
#include "journal/snapshotjson.h"

namespace journalformat {

QDateTime wallNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return now.toOffsetFromUtc(now.offsetFromUtc());
}

QString wallText(const QDateTime& wall) { return wall.toString(Qt::ISODateWithMs); }

QJsonObject head(const QDateTime& started) {
  return {
      {"k", "head"}, {"program", kProgram}, {"format", kVersion}, {"started", wallText(started)}};
}

QByteArray missingLine(const QDateTime& from) {
  QByteArray json = R"({"k":"missing","from":")" +
                    (from.isValid() ? wallText(from).toLatin1() : QByteArray()) + "\"}";
  json = json.leftJustified(kMissingJsonBytes, ' ', true);
  return QByteArray::number(journalline::crc32(json), 16).rightJustified(8, '0') + ' ' + json +
         '\n';
}

QJsonObject names(const TeamNames& names) {
  return {{"k", "names"}, {"home", names.home}, {"guest", names.guest}, {"title", names.title}};
}

QJsonObject state(const QJsonObject& match, const QDateTime& wall) {
  return {{"k", "state"}, {"wall", wallText(wall)}, {"match", match}};
}

QJsonObject texts(const RunningTexts& texts) {
  return {{"k", "texts"},
          {"lines", QJsonArray::fromStringList(texts.lines)},
          {"selected", texts.selected}};
}

QJsonObject splice(const RunningTexts& before, const RunningTexts& after) {
  const QStringList& a = before.lines;
  const QStringList& b = after.lines;
  qsizetype start = 0;
  while (start < a.size() && start < b.size() && a[start] == b[start]) ++start;
  qsizetype tail = 0;
  while (tail < a.size() - start && tail < b.size() - start &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  return {{"k", "splice"},
          {"at", start},
          {"remove", a.size() - start - tail},
          {"insert", QJsonArray::fromStringList(b.mid(start, b.size() - start - tail))},
          {"selected", after.selected}};
}

QJsonObject event(const MatchEvent& event) {
  QJsonObject line = toJson(event);
  line["k"] = "event";
  return line;
}

QJsonObject gap(const JournalGap& gap) {
  QJsonObject line{{"k", "gap"}, {"from", wallText(gap.from)}, {"to", wallText(gap.to)}};
  if (gap.lost) line["lost"] = gap.lost;
  return line;
}

QJsonObject end(const QDateTime& wall) { return {{"k", "end"}, {"wall", wallText(wall)}}; }

namespace {

QJsonObject stepJson(const UndoStep& step) {
  return {
      {"command", step.command}, {"before", toJson(step.before)}, {"after", toJson(step.after)}};
}

}  // namespace

QJsonObject step(const UndoStep& step) {
  QJsonObject line = stepJson(step);
  line["k"] = "step";
  return line;
}

QJsonObject unstep() { return {{"k", "unstep"}}; }

QJsonObject steps(const QList<UndoStep>& steps) {
  QJsonArray list;
  for (const UndoStep& step : steps) list.append(stepJson(step));
  return {{"k", "steps"}, {"steps", list}};
}

QJsonObject previous(const QString& journalName) {
  return {{"k", "previous"}, {"journal", journalName}};
}

std::optional<UndoStep> stepFromJson(const QJsonObject& object) {
  const QString command = object["command"].toString();
  const auto before = snapshotFromJson(object["before"].toObject());
  const auto after = snapshotFromJson(object["after"].toObject());
  if (command.isEmpty() || !before || !after) return std::nullopt;
  return UndoStep{command, *before, *after};
}

}  // namespace journalformat
