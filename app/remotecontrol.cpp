#include "app/remotecontrol.h"

#include <QJsonArray>
#include <cstdio>

#include "commands/commands.h"
#include "commands/noticetext.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "platform/dialogs.h"
#include "platform/os/tickcounter.h"
#include "platform/platform.h"
#include "remote/pairingwindow.h"
#include "remote/remoteserver.h"
#include "remote/statejson.h"
#include "session/matchsession.h"
#include "settings/settings.h"

namespace {

QString cssColor(TColor color) { return toQColor(color).name(); }

}  // namespace

RemoteControl::RemoteControl(MatchSession& session, Platform& platform)
    : commands_(session.commands()),
      platform_(platform),
      server_(std::make_unique<RemoteServer>(*this, platform.tick)),
      window_(std::make_unique<PairingWindow>(*server_)) {
  const QString token = session.settings().record().RemoteOverlayToken;
  server_->setOverlayToken(token.toUtf8());
  window_->setOverlayLocked(!token.isEmpty());

  // Whatever the pages show changes with the match, the settings or the running-text list.
  auto changed = [this] { server_->boardChanged(); };
  connect(&session.match(), &Match::changed, this, changed);
  connect(&session.settings(), &Settings::changed, this, changed);
  connect(&session.texts(), &RunTextList::linesEdited, this, changed);
  connect(&session.texts(), &RunTextList::selectionChanged, this, changed);
  journalProblem_ = session.journalProblem();
  connect(&session, &MatchSession::journalProblemChanged, this, &RemoteControl::setJournalProblem);

  connect(window_.get(), &PairingWindow::stopRequested, this, &RemoteControl::stop);
  connect(window_.get(), &PairingWindow::overlayLockChanged, this,
          &RemoteControl::setOverlayLocked);
  window_->attachSettings(commands_, platform.dialogs);
  connect(window_.get(), &PairingWindow::portRequested, this, [this](int port) { start(port); });
}

RemoteControl::~RemoteControl() = default;

void RemoteControl::start(std::optional<int> port) {
  const int wanted = port.value_or(commands_.settings().record().RemotePort);
  const int listenPort = wanted >= 1 && wanted <= 65535 ? wanted : RemoteServer::kDefaultPort;
  if (!server_->isRunning() || server_->port() != listenPort) {
    if (!server_->start(QHostAddress::Any, quint16(listenPort))) {
      // The window says why and offers a free port to start on.
      window_->showPortProblem(server_->errorString(),
                               RemoteServer::nextFreePort(QHostAddress::Any, quint16(listenPort)));
      window_->show();
      window_->raise();
      return;
    }
    // For an operator who started the program from a terminal, and for scripts.
    std::printf(
        "%s\n",
        qPrintable(
            tr("Fernbedienung: %1  PIN %2").arg(boardAddress(server_->port()), server_->pin())));
    std::fflush(stdout);
    commands_.setRemote(true, listenPort);
  }
  window_->refresh();
  window_->show();
  window_->raise();
}

void RemoteControl::setJournalProblem(const QString& problem) {
  if (problem == journalProblem_) return;
  journalProblem_ = problem;
  server_->boardChanged();
}

void RemoteControl::stop() {
  server_->stop();
  window_->hide();
  commands_.setRemote(false, commands_.settings().record().RemotePort);
}

void RemoteControl::setOverlayLocked(bool locked) {
  const QByteArray token = locked ? Pairing::newToken() : QByteArray();
  server_->setOverlayToken(token);
  commands_.setOverlayToken(QString::fromUtf8(token));
  window_->refresh();
}

QJsonObject RemoteControl::state() const {
  const TSettings& s = commands_.settings().record();
  QJsonObject state = matchStateJson(commands_.match().snapshot(platform_.tick.now()), s);

  QJsonArray teams = state.value("teams").toArray();
  const QString names[] = {s.Comanda1, s.Comanda2};
  for (int i = 0; i < 2; ++i) {
    QJsonObject team = teams[i].toObject();
    team.insert("name", names[i]);
    teams[i] = team;
  }
  state.insert("teams", teams);

  QJsonObject toggles = state.value("toggles").toObject();
  toggles.insert("logoAvailable", commands_.logoAvailable());
  toggles.insert("penaltyRelease", s.StrReset);
  toggles.insert("mute", s.Muted);  // the phone's switch
  state.insert("muted", s.Muted);
  // What "Rückgängig" would take back; null when nothing.
  state.insert("undo", commands_.canUndo() ? QJsonValue(commands_.nextUndo()) : QJsonValue());
  state.insert("toggles", toggles);
  // The console's red line while the match journal cannot be written; null while it can.
  state.insert("journal", journalProblem_.isEmpty()
                              ? QJsonValue()
                              : QJsonValue(QJsonObject{{"problem", journalProblem_}}));

  QJsonObject text = state.value("text").toObject();
  text.insert("lines", QJsonArray::fromStringList(commands_.texts().lines()));
  text.insert("selected", commands_.texts().selected());
  state.insert("text", text);

  // The display's colours: element backgrounds and the fonts drawn on them.
  state.insert("colors", QJsonObject{{"clock", cssColor(s.C[2])},
                                     {"clockText", cssColor(s.Fonts[1].color)},
                                     {"names", cssColor(s.C[3])},
                                     {"namesText", cssColor(s.Fonts[2].color)},
                                     {"score", cssColor(s.C[4])},
                                     {"scoreText", cssColor(s.Fonts[3].color)}});
  return state;
}

// Every command is the command layer's own, as the console's keys run it; a refused one is
// refused with the command layer's reason, in the words the console shows. The state may have
// moved on since the sender saw it.
QString RemoteControl::apply(const RemoteCommand& c) {
  const Notice notice = runCommand(c);
  return notice.kind == Notice::Error ? noticeText(notice) : QString();
}

Notice RemoteControl::runCommand(const RemoteCommand& c) {
  using Kind = RemoteCommand::Kind;
  Commands& run = commands_;
  switch (c.kind) {
    case Kind::PlayPause:
      return run.playPause();
    case Kind::Reset:  // the phone asked "Reset GAME?" already
      return run.reset(), Notice();
    case Kind::Goal:
      return run.goal(c.team, c.value > 0 ? +1 : -1), Notice();
    case Kind::Penalty:
      return run.penaltyClick(c.team, c.slot), Notice();
    case Kind::Period:
      return run.setPeriod(c.value), Notice();
    case Kind::NextPeriod:
      return run.periodCycle(), Notice();
    case Kind::Correct:
      return run.correct(c.value), Notice();
    case Kind::CountDown:
      return run.setCountDown(c.on), Notice();
    case Kind::ShowClock:
      return run.setClockShown(c.on), Notice();
    case Kind::PenaltyRelease:
      return run.setPenaltyRelease(c.on), Notice();
    case Kind::Logo:
      return run.setLogoScreen(c.on), Notice();
    case Kind::Black:
      return run.setBlackScreen(c.on), Notice();
    case Kind::TextStart:
      switch (c.mode) {
        case RemoteCommand::TextMode::One:
          return run.startText(runTextOne);
        case RemoteCommand::TextMode::All:
          return run.startText(runTextAll);
        case RemoteCommand::TextMode::Static:
          return run.startText(runTextStatic);
      }
      return {};
    case Kind::TextStop:
      return run.stopText(), Notice();
    case Kind::TextSelect:
      // Selecting past the end leaves the selection where it is.
      if (c.value < commands_.texts().count()) run.selectText(c.value);
      return {};
    case Kind::PenaltyGive:
      return run.givePenalty(c.team, c.penaltyKind, c.player);
    case Kind::PenaltyTime:
      return run.setPenaltyTime(c.team, c.id, c.value);
    case Kind::PenaltyCancel:
      return run.cancelPenalty(c.team, c.id);
    case Kind::Foul:
      return run.foul(c.team, c.value);
    case Kind::SetClock:
      return run.setClock(c.value);
    case Kind::Undo:
      return run.undo();
    case Kind::Horn:
      return run.horn(), Notice();
    case Kind::Mute:
      return run.setMuted(c.on), Notice();
    case Kind::Timeout:
      return run.timeout(c.team);
    case Kind::TimeoutEnd:
      return run.timeoutEnd(), Notice();
    case Kind::BreakStart:
      return run.startBreak(), Notice();
    case Kind::BreakEnd:
      return run.endBreak(), Notice();
  }
  return {};
}

// The module's entry point (see app/remoteloader.h).
extern "C" Q_DECL_EXPORT Remote* createRemote(MatchSession& session, Platform& platform) {
  return new RemoteControl(session, platform);
}
