#include "commands/noticetext.h"

#include <QCoreApplication>

#include "commands/commands.h"

namespace {

// The context of the notices' words in the translations.
struct NoticeWords {
  Q_DECLARE_TR_FUNCTIONS(Notice)
};

QString teamName(const QString& team) {
  return team == QLatin1String("1") ? NoticeWords::tr("HEIM") : NoticeWords::tr("GAST");
}

// An error box's text about a file ends with a full stop, whatever the system's reason ends
// with.
QString withFullStop(QString text) {
  if (!text.endsWith(u'.')) text += u'.';
  return text;
}

QString shortfallText(const QStringList& a) {
  QStringList parts;
  const bool more = !a.value(2).isEmpty();
  if (a.value(1) != QLatin1String("0") || more)
    parts << (more ? NoticeWords::tr("mehr als %1 Zeilen nicht geladen")
                   : NoticeWords::tr("%1 Zeilen nicht geladen"))
                 .arg(a.value(1));
  if (a.value(3) != QLatin1String("0"))
    parts << NoticeWords::tr("%1 Zeilen gekürzt").arg(a.value(3));
  return NoticeWords::tr("\"%1\": %2.").arg(a.value(0), parts.join(NoticeWords::tr(", ")));
}

}  // namespace

QString noticeText(const Notice& notice) {
  const QStringList& a = notice.args;
  switch (notice.reason) {
    case Refusal::None:
      return {};
    case Refusal::NoTeam:
      return NoticeWords::tr("Keine Mannschaft %1.").arg(a.value(0));
    case Refusal::NoPenalty:
      return NoticeWords::tr("Mannschaft %1 hat keine Strafe %2.").arg(a.value(0), a.value(1));
    case Refusal::NoPenaltyTimes:
      return NoticeWords::tr("Diese Ansicht zeigt keine Strafzeiten.");
    case Refusal::UnknownPenaltyKind:
      return NoticeWords::tr("Die Sportart \"%1\" kennt keine Strafe \"%2\".")
          .arg(a.value(0), a.value(1));
    case Refusal::PlayerOutOfRange:
      return NoticeWords::tr("Spielernummer %1 liegt nicht zwischen 0 und %2.")
          .arg(a.value(0), a.value(1));
    case Refusal::PenaltyListFull:
      return NoticeWords::tr("Mannschaft %1 hat schon %2 Strafen: erst eine aufheben.")
          .arg(a.value(0), a.value(1));
    case Refusal::PenaltyTimeOutOfRange:
      return NoticeWords::tr("Restzeit %1 s liegt nicht zwischen 1 s und %2.")
          .arg(a.value(0), a.value(1));
    case Refusal::FoulStep:
      return NoticeWords::tr("Fouls ändern sich um 1 oder -1, nicht um %1.").arg(a.value(0));
    case Refusal::NoFouls:
      return NoticeWords::tr("Die Sportart \"%1\" zählt keine Fouls.").arg(a.value(0));
    case Refusal::ClockRunning:
      return NoticeWords::tr("Die Zeit lässt sich nur bei stehender Uhr setzen.");
    case Refusal::ClockOutOfRange:
      return NoticeWords::tr("%1 liegt nicht zwischen 0:00 und %2.").arg(a.value(0), a.value(1));
    case Refusal::NoTimeouts:
      return NoticeWords::tr("Die Sportart \"%1\" kennt keine Auszeiten.").arg(a.value(0));
    case Refusal::TimeoutRunning:
      return NoticeWords::tr("Es läuft schon eine Auszeit.");
    case Refusal::TimeoutInBreak:
      return NoticeWords::tr("In der Pause gibt es keine Auszeit.");
    case Refusal::TimeoutMatchLimit:
      return NoticeWords::tr("Keine Auszeit mehr für %1 in diesem Spiel.")
          .arg(teamName(a.value(0)));
    case Refusal::TimeoutPeriodLimit:
      return (a.value(1) == QLatin1String("2")
                  ? NoticeWords::tr("Keine Auszeit mehr für %1 in dieser Halbzeit.")
                  : NoticeWords::tr("Keine Auszeit mehr für %1 in dieser Periode."))
          .arg(teamName(a.value(0)));
    case Refusal::TimeoutLateLimit:
      return NoticeWords::tr("%1 hatte schon eine Auszeit in den letzten %2 Minuten des Spiels.")
          .arg(teamName(a.value(0)), a.value(1));
    case Refusal::MatchOver:
      return NoticeWords::tr(
          "Das Spiel ist aus. Reset beginnt ein neues Spiel, eine Periodennummer (Alt+0 … Alt+4) "
          "eine weitere Periode.");
    case Refusal::NothingToUndo:
      return NoticeWords::tr("Es gibt nichts rückgängig zu machen.");
    case Refusal::CannotOpenFile:
      return withFullStop(
          NoticeWords::tr("Cannot open file \"%1\". %2").arg(a.value(0), a.value(1)));
    case Refusal::CannotCreateFile:
      return withFullStop(
          NoticeWords::tr("Cannot create file \"%1\". %2").arg(a.value(0), a.value(1)));
    case Refusal::ListNotSaved:
      return NoticeWords::tr(
                 "\"%1\" wird nicht gespeichert: die Liste wurde nicht vollständig geladen.")
          .arg(a.value(0));
    case Refusal::ListShortfall:
      return shortfallText(a);
  }
  return {};
}
