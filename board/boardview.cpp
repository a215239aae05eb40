#include "board/boardview.h"

#include "core/clocktext.h"
#include "settings/tsettings.h"

namespace {

BoardSlot foulsSlot(int fouls, bool marked) {
  return {BoardSlot::Fouls, foulsText(fouls), BoardView::tr("F%1").arg(fouls),
          marked ? colors::red : kPeriodTextColour};
}

BoardSlot penaltySlot(const PenaltySlotState& p, TColor idleColour) {
  const BoardSlot::State state = !p.active ? BoardSlot::Idle
                                 : p.armed ? BoardSlot::Armed
                                           : BoardSlot::Running;
  return {state, p.text(), p.text(), p.active ? kPeriodTextColour : idleColour};
}

// A time-out ("AUSZEIT HEIM 0:43") or the break ("PAUSE 9:59") takes the band in yellow on red;
// otherwise it shows the match clock in the colours of the settings.
ClockBand clockBand(const MatchState& s, const QString& breakText, const TSettings& settings) {
  if (s.timeoutRunning()) {
    const QString team = s.timeoutTeam == 1 ? BoardView::tr("HEIM") : BoardView::tr("GAST");
    return {BoardView::tr("AUSZEIT %1 %2").arg(team, SpanText(s.timeoutSecondsLeft)), true, true,
            colors::red, colors::yellow};
  }
  if (s.breakOn) return {breakText, true, true, colors::red, colors::yellow};
  return {s.clockText(), s.displayClockVisible(), false, settings.C[2], settings.Fonts[1].color};
}

}  // namespace

QString foulsText(int fouls) { return BoardView::tr("Fouls %1").arg(fouls); }

BoardView boardView(const MatchState& s, const SportRules& sport, const TSettings& settings) {
  BoardView view;
  view.clockText = s.clockText();
  if (s.breakOn) view.breakText = BoardView::tr("PAUSE %1").arg(SpanText(s.breakSecondsLeft));
  view.band = clockBand(s, view.breakText, settings);
  // Where the sport counts fouls, a team's first place shows them and its second the penalty
  // of the team's first slot, the one with the least time left.
  for (int t = 0; t < 2; ++t) {
    BoardTeam& team = view.teams[t];
    team.score = s.score[t];
    const PenaltySlotState* penalties = &s.penalties[t * 2];
    if (sport.countsFouls()) {
      team.fouls = s.fouls[t];
      team.foulsMarked = sport.foulMarked(s.fouls[t]);
      team.places = {foulsSlot(s.fouls[t], team.foulsMarked),
                     penaltySlot(penalties[0], settings.C[4])};
    } else {
      team.places = {penaltySlot(penalties[0], settings.C[4]),
                     penaltySlot(penalties[1], settings.C[4])};
    }
  }
  view.scoreText = BoardView::tr("%1 - %2").arg(s.score[0]).arg(s.score[1]);
  view.period = s.period;
  view.periodShown = s.period > 0;
  view.pauseSign = s.pauseSign();
  view.logoScreen = s.logoScreen;
  view.blackScreen = s.blackScreen;
  view.names = settings.CNames;
  view.title = settings.Title;
  view.runText = s.runText;
  view.runTextSpeed = settings.Speed;
  return view;
}
