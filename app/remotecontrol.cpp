#include "app/remotecontrol.h"

#include <QJsonArray>
#include <cstdio>

#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/tickcounter.h"
#include "remote/pairingwindow.h"
#include "remote/remoteserver.h"
#include "remote/statejson.h"
#include "settings/settings.h"

namespace {

QString cssColor(TColor color) { return toQColor(color).name(); }

}  // namespace

TRemoteControl::TRemoteControl(Commands& commands, Platform& platform)
    : commands_(commands),
      platform_(platform),
      server_(std::make_unique<RemoteServer>(*this, platform.tick)),
      window_(std::make_unique<TPairingWindow>(*server_)) {
  const QString token = commands.settings().record().RemoteOverlayToken;
  server_->setOverlayToken(token.toUtf8());
  window_->setOverlayLocked(!token.isEmpty());

  // Whatever the pages show changes with the match, the settings or the running-text list.
  auto changed = [this] { server_->boardChanged(); };
  connect(&commands.match(), &Match::changed, this, changed);
  connect(&commands.settings(), &Settings::changed, this, changed);
  connect(&commands.texts(), &RunTextList::linesEdited, this, changed);
  connect(&commands.texts(), &RunTextList::selectionChanged, this, changed);

  connect(window_.get(), &TPairingWindow::stopRequested, this, &TRemoteControl::stop);
  connect(window_.get(), &TPairingWindow::overlayLockChanged, this,
          &TRemoteControl::setOverlayLocked);
  window_->attachSettings(commands, platform.dialogs);
  connect(window_.get(), &TPairingWindow::portRequested, this, [this](int port) { start(port); });
}

TRemoteControl::~TRemoteControl() = default;

void TRemoteControl::start(std::optional<int> port) {
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
    std::printf("Fernbedienung: %s  PIN %s\n", qPrintable(boardAddress(server_->port())),
                qPrintable(server_->pin()));
    std::fflush(stdout);
    commands_.setRemote(true, listenPort);
  }
  window_->refresh();
  window_->show();
  window_->raise();
}

void TRemoteControl::setJournalProblem(const QString& problem) {
  if (problem == journalProblem_) return;
  journalProblem_ = problem;
  server_->boardChanged();
}

void TRemoteControl::stop() {
  server_->stop();
  window_->hide();
  commands_.setRemote(false, commands_.settings().record().RemotePort);
}

void TRemoteControl::setOverlayLocked(bool locked) {
  const QByteArray token = locked ? Pairing::newToken() : QByteArray();
  server_->setOverlayToken(token);
  commands_.setOverlayToken(QString::fromUtf8(token));
  window_->refresh();
}

QJsonObject TRemoteControl::state() const {
  QJsonObject state = matchStateJson(commands_.match().snapshot(platform_.tick.now()));
  const TSettings& s = commands_.settings().record();

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

// Every command is the command layer's own, as the console's keys run it.
void TRemoteControl::apply(const RemoteCommand& c) {
  using Kind = RemoteCommand::Kind;
  Commands& run = commands_;
  switch (c.kind) {
    case Kind::PlayPause:
      return void(run.playPause());
    case Kind::Reset:  // the phone asked "Reset GAME?" already
      return run.reset();
    case Kind::Goal:
      return run.goal(c.team, c.value > 0 ? +1 : -1);
    case Kind::Penalty:
      return run.penaltyClick(c.team, c.slot);
    case Kind::Period:
      return run.setPeriod(c.value);
    case Kind::NextPeriod:
      return run.periodCycle();
    case Kind::Correct:
      return run.correct(c.value);
    case Kind::CountDown:
      return run.setCountDown(c.on);
    case Kind::ShowClock:
      return run.setClockShown(c.on);
    case Kind::PenaltyRelease:
      return run.setPenaltyRelease(c.on);
    case Kind::Logo:
      return run.setLogoScreen(c.on);
    case Kind::Black:
      return run.setBlackScreen(c.on);
    case Kind::TextStart:
      switch (c.mode) {
        case RemoteCommand::TextMode::One:
          return void(run.startText(runTextOne));
        case RemoteCommand::TextMode::All:
          return void(run.startText(runTextAll));
        case RemoteCommand::TextMode::Static:
          return void(run.startText(runTextStatic));
      }
      return;
    case Kind::TextStop:
      return run.stopText();
    case Kind::TextSelect:
      // Selecting past the end leaves the selection where it is.
      if (c.value < commands_.texts().count()) run.selectText(c.value);
      return;
    case Kind::PenaltyGive:
      return void(run.givePenalty(c.team, c.penaltyKind, c.player));
    case Kind::PenaltyTime:
      return void(run.setPenaltyTime(c.team, c.id, c.value));
    case Kind::PenaltyCancel:
      return void(run.cancelPenalty(c.team, c.id));
    case Kind::Foul:
      return void(run.foul(c.team, c.value));
    case Kind::SetClock:
      return void(run.setClock(c.value));
    case Kind::Undo:
      return void(run.undo());
    case Kind::Horn:
      return run.horn();
    case Kind::Mute:
      return run.setMuted(c.on);
    case Kind::Timeout:
      return void(run.timeout(c.team));
    case Kind::TimeoutEnd:
      return run.timeoutEnd();
    case Kind::BreakStart:
      return run.startBreak();
    case Kind::BreakEnd:
      return run.endBreak();
  }
}

// The penalty commands refer to the sport and to penalties the sender saw; the state may
// have moved on since.
QString TRemoteControl::refusal(const RemoteCommand& c) const {
  using Kind = RemoteCommand::Kind;
  const Match& match = commands_.match();
  const bool byId = c.kind == Kind::PenaltyTime || c.kind == Kind::PenaltyCancel;
  if (byId && !match.state().penalty(c.team, c.id))
    return QString("team %1 has no penalty %2").arg(c.team).arg(c.id);
  if (c.kind == Kind::PenaltyGive && !match.sport().kind(c.penaltyKind))
    return QString("the sport \"%1\" has no penalty \"%2\"").arg(match.sport().name, c.penaltyKind);
  if (c.kind == Kind::PenaltyGive && commands_.settings().view() >= 2)
    return "this view shows no penalty times";
  if (c.kind == Kind::Foul && !match.sport().countsFouls())
    return QString("the sport \"%1\" counts no fouls").arg(match.sport().name);
  // The command layer's own German line, as the console shows it.
  if (c.kind == Kind::SetClock) return commands_.setClockRefusal(c.value).text;
  if (c.kind == Kind::Undo && !commands_.canUndo())
    return QStringLiteral("Es gibt nichts rückgängig zu machen.");
  if (c.kind == Kind::Timeout) return commands_.timeoutRefusal(c.team).text;
  if (c.kind == Kind::PlayPause) return commands_.playPauseRefusal().text;
  return {};
}

// The module's entry point (see app/remoteloader.h).
extern "C" Q_DECL_EXPORT Remote* createRemote(Commands& commands, Platform& platform) {
  return new TRemoteControl(commands, platform);
}
