#include "journal/journalreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <cctype>

#include "journal/journalformat.h"
#include "journal/journalline.h"
#include "journal/snapshotjson.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(JournalReader)
};

JournalReading refuse(const QString& problem) { return {std::nullopt, problem}; }

// The start of every line we write: eight hex digits, a space and an object.
bool looksLikeJournalLine(const QByteArray& line) {
  if (line.size() < 10 || line[8] != ' ' || line[9] != '{') return false;
  for (int i = 0; i < 8; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(line[i]))) return false;
  return true;
}

// Reads one line at a time in pieces, so that memory stays bounded by the longest line
// accepted, whatever the file holds.
class LineSource {
 public:
  explicit LineSource(QIODevice& device) : device_(device) {}

  bool atEnd() const { return device_.atEnd(); }
  // The next line without its line feed; `whole` tells whether it ended in one, `tooLong`
  // whether it was cut (then its bytes are skipped up to the next line feed).
  QByteArray next(bool* whole, bool* tooLong) {
    QByteArray line;
    *tooLong = false;
    char piece[1 << 16];
    for (;;) {
      const qint64 n = device_.readLine(piece, sizeof piece);
      if (n <= 0) {
        *whole = false;
        return line;
      }
      const bool ends = piece[n - 1] == '\n';
      if (!*tooLong) {
        if (line.size() + n > kMaxJournalLineBytes) {
          *tooLong = true;
          line = QByteArray();
        } else {
          line.append(piece, ends ? n - 1 : n);
        }
      }
      if (ends) {
        *whole = true;
        // A copy converted to CRLF line ends: the line is the same without its CR.
        if (line.endsWith('\r')) line.chop(1);
        return line;
      }
    }
  }

 private:
  QIODevice& device_;
};

std::optional<QStringList> stringList(const QJsonValue& value) {
  if (!value.isArray()) return std::nullopt;
  QStringList list;
  const QJsonArray lines = value.toArray();
  for (const QJsonValue& line : lines) {
    if (!line.isString()) return std::nullopt;
    list.append(line.toString());
  }
  return list;
}

std::optional<int> selection(const QJsonValue& value, qsizetype count) {
  const double selected = value.toDouble();
  if (!value.isDouble() || selected != int(selected) || selected < -1 || selected >= count)
    return std::nullopt;
  return int(selected);
}

std::optional<RunningTexts> textsFromJson(const QJsonObject& o) {
  const auto lines = stringList(o["lines"]);
  if (!lines) return std::nullopt;
  const auto selected = selection(o["selected"], lines->size());
  if (!selected) return std::nullopt;
  return RunningTexts{*lines, *selected};
}

std::optional<RunningTexts> spliced(const RunningTexts& before, const QJsonObject& o) {
  const double at = o["at"].toDouble(-1);
  const double remove = o["remove"].toDouble(-1);
  const auto insert = stringList(o["insert"]);
  if (!insert || at != qint64(at) || remove != qint64(remove) || at < 0 || remove < 0 ||
      at + remove > before.lines.size())
    return std::nullopt;
  RunningTexts after{before.lines.mid(0, qsizetype(at)), -1};
  after.lines += *insert;
  after.lines += before.lines.mid(qsizetype(at + remove));
  const auto selected = selection(o["selected"], after.lines.size());
  if (!selected) return std::nullopt;
  after.selected = *selected;
  return after;
}

QDateTime wallOf(const QJsonValue& value) {
  return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

// Takes the lines after the head into the contents.
class Taker {
 public:
  explicit Taker(JournalContents& contents) : c_(contents) {}

  // False when the line is not a valid one.
  bool take(const QJsonObject& line) {
    const QString kind = line["k"].toString();
    if (kind == "state") {
      const auto state = snapshotFromJson(line["match"].toObject());
      const QDateTime wall = wallOf(line["wall"]);
      if (!state || !wall.isValid()) return false;
      c_.changed = c_.changed || (c_.state && state->state != c_.state->state);
      c_.state = state;
      closeGap(wall);
    } else if (kind == "texts") {
      const auto texts = textsFromJson(line);
      if (!texts) return false;
      setTexts(*texts);
      textsKnown_ = true;
    } else if (kind == "splice") {
      // An edit on a list a damaged line may have changed cannot be trusted until the next
      // whole list.
      if (!textsKnown_) return true;
      if (!c_.texts) return false;
      const auto texts = spliced(*c_.texts, line);
      if (!texts) return false;
      setTexts(*texts);
    } else if (kind == "names") {
      if (!line["home"].isString() || !line["guest"].isString() || !line["title"].isString())
        return false;
      c_.names =
          TeamNames{line["home"].toString(), line["guest"].toString(), line["title"].toString()};
    } else if (kind == "event") {
      const auto event = eventFromJson(line);
      if (!event) return false;
      closeGap(event->wall);
      c_.events.append(*event);
      lastWall_ = event->wall;
    } else if (kind == "gap") {
      const double lost = line["lost"].toDouble(0);
      if (!line["from"].isString() || !line["to"].isString() || lost < 0 || lost > 1e9)
        return false;
      c_.gaps.append({c_.events.size(), wallOf(line["from"]), wallOf(line["to"]), int(lost)});
    } else if (kind == "missing") {
      if (!line["from"].isString()) return false;
      c_.missingFrom = wallOf(line["from"]);
    } else if (kind == "end") {
      c_.ended = true;
    } else if (kind == "step") {
      const auto step = journalformat::stepFromJson(line);
      if (!step) return false;
      addStep(*step);
    } else if (kind == "previous") {
      if (!line["journal"].isString()) return false;
      c_.previousJournal = line["journal"].toString();
    } else if (kind == "unstep") {
      if (!c_.undoSteps.isEmpty()) c_.undoSteps.removeLast();
    } else if (kind == "steps") {
      if (!line["steps"].isArray()) return false;
      // A step that is not whole makes the line damage, which drops the steps anyway.
      c_.undoSteps.clear();
      const QJsonArray steps = line["steps"].toArray();
      for (const QJsonValue& value : steps) {
        const auto step = journalformat::stepFromJson(value.toObject());
        if (!step) return false;
        addStep(*step);
      }
    } else if (kind == "head") {
      return false;
    }
    // Lines of a kind this version does not know are a newer program's: passed over.
    return true;
  }

  // The wall times of the first and the last line that has one; invalid while none had.
  QDateTime firstWall() const { return firstWall_; }
  QDateTime lastWall() const { return lastWall_; }

  void damaged() {
    ++c_.damagedLines;
    textsKnown_ = false;
    c_.undoSteps.clear();
    if (openGap_) return;
    c_.gaps.append({c_.events.size(), lastWall_, QDateTime(), 0, true});
    openGap_ = true;
  }

 private:
  void setTexts(const RunningTexts& texts) {
    c_.changed = c_.changed || (c_.texts && texts != *c_.texts);
    c_.texts = texts;
  }
  void addStep(const UndoStep& step) {
    c_.undoSteps.append(step);
    if (c_.undoSteps.size() > UndoStep::kKept) c_.undoSteps.removeFirst();
  }
  void closeGap(const QDateTime& wall) {
    if (!firstWall_.isValid()) firstWall_ = wall;
    lastWall_ = wall;
    if (!openGap_) return;
    c_.gaps.last().to = wall;
    openGap_ = false;
  }

  JournalContents& c_;
  QDateTime lastWall_;
  QDateTime firstWall_;
  bool openGap_ = false;
  bool textsKnown_ = true;
};

}  // namespace

JournalReading readJournal(QIODevice& device) {
  LineSource source(device);
  bool whole = false;
  bool tooLong = false;
  QByteArray first = source.next(&whole, &tooLong);
  if (first.startsWith("\xEF\xBB\xBF")) first.remove(0, 3);  // an editor's byte order mark
  if (first.isEmpty() && !tooLong) return refuse(Words::tr("leer"));
  if (tooLong || !looksLikeJournalLine(first))
    return refuse(Words::tr("kein Spieljournal von Scorvex"));
  const auto head = journalline::decode(first);
  const bool firstWhole = whole;
  if (head && (*head)["k"] == "head" && (*head)["program"] != journalformat::kProgram)
    return refuse(Words::tr("kein Spieljournal von Scorvex"));
  if (head && (*head)["format"].toInt() > journalformat::kVersion)
    return refuse(Words::tr("von einer neueren Version von Scorvex"));

  JournalContents contents;
  // A damaged head does not lose the match: the lines after it are read, and the match is
  // taken to have begun with the first of them. Only a file without one good line is refused.
  const bool headWhole = head && (*head)["k"] == "head" && (*head)["format"].toInt() >= 1 &&
                         wallOf((*head)["started"]).isValid();
  if (headWhole) contents.started = wallOf((*head)["started"]);
  Taker taker(contents);
  if (!headWhole) taker.damaged();
  int good = 0;
  while (!source.atEnd()) {
    const QByteArray line = source.next(&whole, &tooLong);
    const auto object = tooLong ? std::nullopt : journalline::decode(line);
    if (object && taker.take(*object)) {
      ++good;
      continue;
    }
    // The last line may be torn by a crash while it was written: it is dropped, the rest
    // holds. Anything else is damage: skipped, and the rest still read.
    if (!whole && source.atEnd()) break;
    taker.damaged();
  }
  if (!headWhole) {
    if (good == 0 || !taker.firstWall().isValid())
      return refuse(firstWhole ? Words::tr("beschädigt in Zeile 1") : Words::tr("abgeschnitten"));
    contents.started = taker.firstWall();
  }
  contents.lastWall = taker.lastWall();
  return {contents, QString()};
}

JournalReading readJournalFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return refuse(file.errorString());
  return readJournal(file);
}
