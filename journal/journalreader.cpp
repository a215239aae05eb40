#include "journal/journalreader.h"

#include <QFile>
#include <QJsonArray>
#include <cctype>

#include "journal/journalformat.h"
#include "journal/journalline.h"
#include "journal/snapshotjson.h"

namespace {

// Far above what a day of matches writes; a bigger file is not read into memory, which also
// bounds every line.
constexpr qint64 kMaxJournalBytes = qint64(64) << 20;

JournalReading refuse(const QString& problem) { return {std::nullopt, problem}; }

// The start of every line we write: eight hex digits, a space and an object.
bool looksLikeJournalLine(const QByteArray& line) {
  if (line.size() < 10 || line[8] != ' ' || line[9] != '{') return false;
  for (int i = 0; i < 8; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(line[i]))) return false;
  return true;
}

std::optional<RunningTexts> textsFromJson(const QJsonObject& o) {
  if (!o["lines"].isArray() || !o["selected"].isDouble()) return std::nullopt;
  RunningTexts texts;
  for (const QJsonValue& line : o["lines"].toArray()) {
    if (!line.isString()) return std::nullopt;
    texts.lines.append(line.toString());
  }
  const double selected = o["selected"].toDouble();
  if (selected != int(selected) || selected < -1 || selected >= texts.lines.size())
    return std::nullopt;
  texts.selected = int(selected);
  return texts;
}

// Takes one line after the head into the contents; false when it is not a valid line.
bool take(const QJsonObject& line, JournalContents& contents) {
  const QString kind = line["k"].toString();
  if (kind == "state") {
    const auto state = snapshotFromJson(line["match"].toObject());
    if (!state) return false;
    contents.changed =
        contents.changed || (contents.state && state->state != contents.state->state);
    contents.state = state;
  } else if (kind == "texts") {
    const auto texts = textsFromJson(line);
    if (!texts) return false;
    contents.changed = contents.changed || (contents.texts && texts != contents.texts);
    contents.texts = texts;
  } else if (kind == "event") {
    const auto event = eventFromJson(line);
    if (!event) return false;
    contents.events.append(*event);
  } else if (kind == "end") {
    contents.ended = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

JournalReading readJournal(QIODevice& device) {
  if (device.size() > kMaxJournalBytes) return refuse("zu groß");
  const QByteArray first = device.readLine();
  if (first.isEmpty()) return refuse("leer");
  if (!looksLikeJournalLine(first)) return refuse("kein Spieljournal von Scorvex");
  const auto head = journalline::decode(QByteArrayView(first).chopped(first.endsWith('\n')));
  if (!head) return refuse(device.atEnd() ? "abgeschnitten" : "beschädigt in Zeile 1");
  if ((*head)["k"] != "head" || (*head)["program"] != journalformat::kProgram)
    return refuse("kein Spieljournal von Scorvex");
  if ((*head)["format"].toInt() > journalformat::kVersion)
    return refuse("von einer neueren Version von Scorvex");

  JournalContents contents;
  contents.started = QDateTime::fromString((*head)["started"].toString(), Qt::ISODateWithMs);
  if ((*head)["format"].toInt() < 1 || !contents.started.isValid())
    return refuse("beschädigt in Zeile 1");
  for (int number = 2; !device.atEnd(); ++number) {
    const QByteArray line = device.readLine();
    const auto object = journalline::decode(QByteArrayView(line).chopped(line.endsWith('\n')));
    if (object && take(*object, contents)) continue;
    // The last line may be torn by a crash while it was written: it is dropped, the rest holds.
    if (device.atEnd()) break;
    return refuse(QString("beschädigt in Zeile %1").arg(number));
  }
  return {contents, QString()};
}

JournalReading readJournalFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return refuse(file.errorString());
  return readJournal(file);
}
