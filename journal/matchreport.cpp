#include "journal/matchreport.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <array>

#include "core/clocktext.h"
#include "core/matchstate.h"
#include "journal/journalreader.h"

namespace {

QString matchTime(qint64 ms) { return SpanText(int(ms / 1000)); }

// A duration as spreadsheets read one, always with the hours: "2:41" would be read as 2 hours
// 41 minutes, "0:02:41" is 2 minutes 41 seconds.
QString duration(qint64 ms) {
  const qint64 seconds = ms / 1000;
  return QString("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QChar('0'))
      .arg(seconds % 60, 2, 10, QChar('0'));
}

// Local time of the machine making the report, with its offset, so that a report made in the
// hall reads in the hall's time whatever zone the journal was written in.
QString localTime(const QDateTime& wall) {
  if (!wall.isValid()) return QString();
  const QDateTime local = wall.toLocalTime();
  const int offset = local.offsetFromUtc() / 60;
  return local.toString("yyyy-MM-ddTHH:mm:ss") + (offset < 0 ? '-' : '+') +
         QString("%1:%2")
             .arg(qAbs(offset) / 60, 2, 10, QChar('0'))
             .arg(qAbs(offset) % 60, 2, 10, QChar('0'));
}

QString orEmpty(int n) { return n ? QString::number(n) : QString(); }

// The report's columns, in the order of the header.
constexpr size_t kColumns = 15;

struct Words {
  std::array<const char*, kColumns> header;
  std::array<const char*, 23> events;  // by kind; none: the journal's own name
  const char* title;
  const char* home;
  const char* guest;
  const char* started;
  const char* gap;
  const char* damaged;
  const char* notWritten;
  const char* lost;
  const char* missing;
};

static_assert(std::tuple_size_v<decltype(Words::events)> ==
              size_t(MatchEvent::Kind::PenaltyServing) + 1);

constexpr Words kEnglish{
    {"wall_time", "period", "match_time", "event", "team", "slot", "penalty", "kind", "player",
     "home", "guest", "correction_s", "penalty_time", "fouls", "note"},
    {},  // the journal's own names
    "title",
    "home",
    "guest",
    "started",
    "journal_gap",
    "damaged lines up to %1",
    "not written up to %1",
    "%1 events lost",
    "not recorded from here on"};

constexpr Words kGerman{
    {QT_TRANSLATE_NOOP("MatchReport", "Uhrzeit"), QT_TRANSLATE_NOOP("MatchReport", "Periode"),
     QT_TRANSLATE_NOOP("MatchReport", "Spielzeit"), QT_TRANSLATE_NOOP("MatchReport", "Ereignis"),
     QT_TRANSLATE_NOOP("MatchReport", "Mannschaft"), QT_TRANSLATE_NOOP("MatchReport", "Strafe"),
     QT_TRANSLATE_NOOP("MatchReport", "Straf-Nr."), QT_TRANSLATE_NOOP("MatchReport", "Strafart"),
     QT_TRANSLATE_NOOP("MatchReport", "Spieler"), QT_TRANSLATE_NOOP("MatchReport", "Heim"),
     QT_TRANSLATE_NOOP("MatchReport", "Gast"), QT_TRANSLATE_NOOP("MatchReport", "Korrektur_s"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafzeit"), QT_TRANSLATE_NOOP("MatchReport", "Fouls"),
     QT_TRANSLATE_NOOP("MatchReport", "Hinweis")},
    {QT_TRANSLATE_NOOP("MatchReport", "Tor"),
     QT_TRANSLATE_NOOP("MatchReport", "Tor zurückgenommen"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafe beginnt"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafe aufgehoben"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafe durch Tor beendet"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafe abgelaufen"),
     QT_TRANSLATE_NOOP("MatchReport", "Periode beginnt"),
     QT_TRANSLATE_NOOP("MatchReport", "Periode endet"),
     QT_TRANSLATE_NOOP("MatchReport", "Periode gesetzt"),
     QT_TRANSLATE_NOOP("MatchReport", "Zeitkorrektur"),
     QT_TRANSLATE_NOOP("MatchReport", "Reset"),
     QT_TRANSLATE_NOOP("MatchReport", "Rückgängig"),
     QT_TRANSLATE_NOOP("MatchReport", "Horn"),
     QT_TRANSLATE_NOOP("MatchReport", "Auszeit beginnt"),
     QT_TRANSLATE_NOOP("MatchReport", "Auszeit endet"),
     QT_TRANSLATE_NOOP("MatchReport", "Pause beginnt"),
     QT_TRANSLATE_NOOP("MatchReport", "Pause endet"),
     QT_TRANSLATE_NOOP("MatchReport", "Erster Strafteil durch Tor beendet"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafzeit gesetzt"),
     QT_TRANSLATE_NOOP("MatchReport", "Strafe geht in die nächste Periode"),
     QT_TRANSLATE_NOOP("MatchReport", "Foul"),
     QT_TRANSLATE_NOOP("MatchReport", "Foul zurückgenommen"),
     QT_TRANSLATE_NOOP("MatchReport", "Wartende Strafe beginnt")},
    QT_TRANSLATE_NOOP("MatchReport", "Titel"),
    QT_TRANSLATE_NOOP("MatchReport", "Heim"),
    QT_TRANSLATE_NOOP("MatchReport", "Gast"),
    QT_TRANSLATE_NOOP("MatchReport", "Beginn"),
    QT_TRANSLATE_NOOP("MatchReport", "Lücke im Journal"),
    QT_TRANSLATE_NOOP("MatchReport", "beschädigte Zeilen bis %1"),
    QT_TRANSLATE_NOOP("MatchReport", "nicht geschrieben bis %1"),
    QT_TRANSLATE_NOOP("MatchReport", "%1 Ereignisse verloren"),
    QT_TRANSLATE_NOOP("MatchReport", "ab hier nicht aufgezeichnet")};

// The German words are the program's own texts, in the session's language; the English ones
// are the journal's own names, as in the JSON.
struct Translated {
  Q_DECLARE_TR_FUNCTIONS(MatchReport)
};

QString said(const char* text, const Words& w) {
  return &w == &kGerman ? Translated::tr(text) : QString::fromUtf8(text);
}

// A field quoted when it holds the separator, a quote or a line break (team names may).
QString field(QString text, QChar separator) {
  if (!text.contains(separator) && !text.contains('"') && !text.contains('\n') &&
      !text.contains('\r'))
    return text;
  return '"' + text.replace('"', "\"\"") + '"';
}

// What an undo took back, in the report's language.
QString undoneNote(const QString& command, const Words& w) {
  return &w == &kGerman ? UndoStep::caption(command) : command;
}

QString eventText(MatchEvent::Kind kind, const Words& w) {
  const char* text = w.events[size_t(kind)];
  return text ? said(text, w) : eventName(kind);
}

QString gapNote(const JournalGap& gap, const Words& w) {
  QString note = said(gap.damaged ? w.damaged : w.notWritten, w)
                     .arg(gap.to.isValid() ? localTime(gap.to) : QString("?"));
  if (gap.lost) note += ", " + said(w.lost, w).arg(gap.lost);
  return note;
}

}  // namespace

QByteArray reportCsv(const JournalContents& journal, const QLocale& locale) {
  const Words& w = locale.language() == QLocale::German ? kGerman : kEnglish;
  const QChar separator = locale.decimalPoint() == "," ? ';' : ',';
  const TeamNames names = journal.names.value_or(TeamNames{"1", "2", QString()});
  QStringList rows;
  auto row = [&](const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields) quoted.append(field(f, separator));
    rows.append(quoted.join(separator));
  };
  row({said(w.title, w), names.title});
  row({said(w.home, w), names.home});
  row({said(w.guest, w), names.guest});
  row({said(w.started, w), localTime(journal.started)});
  rows.append(QString());
  QStringList header;
  for (const char* h : w.header) header.append(said(h, w));
  row(header);

  // A row of its own for what the journal lacks: its time, the event and the note.
  auto gapRow = [&](const QDateTime& from, const QString& note) {
    QStringList fields(kColumns);
    fields.first() = localTime(from);
    fields[3] = said(w.gap, w);
    fields.last() = note;
    row(fields);
  };
  qsizetype gap = 0;
  for (qsizetype i = 0; i < journal.events.size(); ++i) {
    for (; gap < journal.gaps.size() && journal.gaps[gap].atEvent <= i; ++gap)
      gapRow(journal.gaps[gap].from, gapNote(journal.gaps[gap], w));
    const MatchEvent& e = journal.events[i];
    row({localTime(e.wall), QString::number(e.period), duration(e.matchMs), eventText(e.kind, w),
         e.team ? (e.team == 1 ? names.home : names.guest) : QString(), orEmpty(e.slot),
         orEmpty(e.penaltyId), e.penaltyKind, e.player ? QString::number(*e.player) : QString(),
         QString::number(e.home), QString::number(e.guest), orEmpty(e.stepSeconds),
         e.penaltySeconds ? duration(qint64(e.penaltySeconds) * 1000) : QString(),
         e.fouls ? QString::number(*e.fouls) : QString(),
         e.undone.isEmpty() ? QString() : undoneNote(e.undone, w)});
  }
  for (; gap < journal.gaps.size(); ++gap)
    gapRow(journal.gaps[gap].from, gapNote(journal.gaps[gap], w));
  if (journal.missingFrom.isValid()) gapRow(journal.missingFrom, said(w.missing, w));
  return "\xEF\xBB\xBF" + (rows.join("\r\n") + "\r\n").toUtf8();
}

QByteArray reportJson(const JournalContents& journal) {
  QJsonArray events;
  for (const MatchEvent& e : journal.events) {
    QJsonObject row = toJson(e);
    row["wall"] = localTime(e.wall);
    row["matchTime"] = matchTime(e.matchMs);
    events.append(row);
  }
  QJsonArray gaps;
  for (const JournalGap& gap : journal.gaps)
    gaps.append(QJsonObject{{"beforeEvent", gap.atEvent},
                            {"from", localTime(gap.from)},
                            {"to", localTime(gap.to)},
                            {"lost", gap.lost},
                            {"damaged", gap.damaged}});
  QJsonObject report{{"started", localTime(journal.started)},
                     {"finished", journal.ended},
                     {"events", events},
                     {"gaps", gaps}};
  if (journal.names) {
    report["title"] = journal.names->title;
    report["home"] = journal.names->home;
    report["guest"] = journal.names->guest;
  }
  if (journal.missingFrom.isValid()) report["missingFrom"] = localTime(journal.missingFrom);
  return QJsonDocument(report).toJson(QJsonDocument::Indented);
}
