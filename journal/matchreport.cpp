#include "journal/matchreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include "core/clocktext.h"
#include "journal/journalreader.h"

namespace {

QString matchTime(qint64 ms) { return SpanText(int(ms / 1000)); }

QString wallTime(const MatchEvent& e) { return e.wall.toString(Qt::ISODate); }

QString orEmpty(int n) { return n ? QString::number(n) : QString(); }

}  // namespace

QByteArray reportCsv(const JournalContents& journal) {
  QStringList rows{"wall_time,period,match_time,event,team,slot,home,guest,correction_s"};
  for (const MatchEvent& e : journal.events) {
    const QStringList fields{wallTime(e),
                             QString::number(e.period),
                             matchTime(e.matchMs),
                             eventName(e.kind),
                             orEmpty(e.team),
                             orEmpty(e.slot),
                             QString::number(e.home),
                             QString::number(e.guest),
                             orEmpty(e.stepSeconds)};
    rows.append(fields.join(','));
  }
  return (rows.join("\r\n") + "\r\n").toUtf8();
}

QByteArray reportJson(const JournalContents& journal) {
  QJsonArray events;
  for (const MatchEvent& e : journal.events) {
    QJsonObject row = toJson(e);
    row["wall"] = wallTime(e);
    row["matchTime"] = matchTime(e.matchMs);
    events.append(row);
  }
  const QJsonObject report{{"started", journal.started.toString(Qt::ISODate)},
                           {"finished", journal.ended},
                           {"events", events}};
  return QJsonDocument(report).toJson(QJsonDocument::Indented);
}
