#include "app/remotecontrol.h"

#include <QAction>
#include <QCheckBox>
#include <QJsonArray>
#include <QListWidget>
#include <cstdio>

#include "app/formctrl.h"
#include "core/match.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/tickcounter.h"
#include "remote/pairingwindow.h"
#include "remote/remoteserver.h"
#include "remote/statejson.h"
#include "settings/settings.h"
#include "ticker/runtextcontrols.h"

namespace {

QString cssColor(TColor color) { return toQColor(color).name(); }

// Runs a switching command only when the switch is not yet where it is wanted.
void switchTo(QAction* command, bool now, bool wanted) {
  if (now != wanted) command->trigger();
}

}  // namespace

TRemoteControl::TRemoteControl(TFormCtrl& console, Match& match, Settings& settings,
                               Platform& platform)
    : console_(console),
      match_(match),
      settings_(settings),
      platform_(platform),
      server_(std::make_unique<RemoteServer>(*this, platform.tick)),
      window_(std::make_unique<TPairingWindow>(*server_, &console)) {
  server_->setOverlayToken(settings.record().RemoteOverlayToken.toUtf8());
  window_->setOverlayLocked(!settings.record().RemoteOverlayToken.isEmpty());

  // Whatever the pages show changes with the match, the settings or the running-text list.
  auto changed = [this] { server_->boardChanged(); };
  connect(&match, &Match::changed, this, changed);
  connect(&settings, &Settings::changed, this, changed);
  connect(console.mLogo, &QAction::changed, this, changed);
  QListWidget* list = console.RunText->ListStr();
  connect(list, &QListWidget::currentRowChanged, this, changed);
  connect(list->model(), &QAbstractItemModel::rowsInserted, this, changed);
  connect(list->model(), &QAbstractItemModel::rowsRemoved, this, changed);
  connect(list->model(), &QAbstractItemModel::dataChanged, this, changed);
  connect(list->model(), &QAbstractItemModel::modelReset, this, changed);

  connect(window_.get(), &TPairingWindow::stopRequested, this, &TRemoteControl::stop);
  connect(window_.get(), &TPairingWindow::overlayLockChanged, this,
          &TRemoteControl::setOverlayLocked);
  window_->attachSettings(settings, platform.dialogs);
  connect(window_.get(), &TPairingWindow::portRequested, this, [this](int port) { start(port); });
}

TRemoteControl::~TRemoteControl() = default;

void TRemoteControl::start(std::optional<int> port) {
  const int wanted = port.value_or(settings_.record().RemotePort);
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
    remember(true, listenPort);
  }
  window_->refresh();
  window_->show();
  window_->raise();
}

void TRemoteControl::stop() {
  server_->stop();
  window_->hide();
  remember(false, settings_.record().RemotePort);
}

void TRemoteControl::remember(bool running, int port) {
  settings_.change([&](TSettings& s) {
    s.RemoteOn = running;
    s.RemotePort = port;
  });
}

void TRemoteControl::setOverlayLocked(bool locked) {
  const QByteArray token = locked ? Pairing::newToken() : QByteArray();
  server_->setOverlayToken(token);
  settings_.change([&](TSettings& s) { s.RemoteOverlayToken = QString::fromUtf8(token); });
  window_->refresh();
}

QJsonObject TRemoteControl::state() const {
  QJsonObject state = matchStateJson(match_.snapshot(platform_.tick.now()));
  const TSettings& s = settings_.record();

  QJsonArray teams = state.value("teams").toArray();
  const QString names[] = {s.Comanda1, s.Comanda2};
  for (int i = 0; i < 2; ++i) {
    QJsonObject team = teams[i].toObject();
    team.insert("name", names[i]);
    teams[i] = team;
  }
  state.insert("teams", teams);

  QJsonObject toggles = state.value("toggles").toObject();
  toggles.insert("logoAvailable", console_.mLogo->isEnabled());
  toggles.insert("penaltyRelease", s.StrReset);
  state.insert("toggles", toggles);

  QJsonObject text = state.value("text").toObject();
  const QListWidget* list = console_.RunText->ListStr();
  QJsonArray lines;
  for (int i = 0; i < list->count(); ++i) lines.append(list->item(i)->text());
  text.insert("lines", lines);
  text.insert("selected", list->currentRow());
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

void TRemoteControl::apply(const RemoteCommand& c) {
  using Kind = RemoteCommand::Kind;
  const MatchState& m = match_.state();
  switch (c.kind) {
    case Kind::PlayPause:
      return console_.Start1->trigger();
    case Kind::Reset:  // the phone asked "Reset GAME?" already
      return console_.ResetGame();
    case Kind::Goal:
      return console_.SchetDownClick((c.team - 1) * 2 + (c.value > 0 ? 1 : 2));
    case Kind::Penalty:
      // Where the console hides its penalty labels, penalties are not given.
      if (settings_.record().VidTablo < 2) console_.LabStrafe_Click((c.team - 1) * 2 + c.slot - 1);
      return;
    case Kind::Period:
      return console_.mTymClick(c.value);
    case Kind::NextPeriod:
      return console_.Periode1->trigger();
    case Kind::Correct:
      return console_.MinutePMClick(c.value);
    case Kind::CountDown:
      return switchTo(console_.mTimerCountdown, settings_.record().CountDown, c.on);
    case Kind::ShowClock:
      return switchTo(console_.mTime1, m.clockShown, c.on);
    case Kind::PenaltyRelease:
      if (console_.cbStrReset->isChecked() != c.on) console_.cbStrReset->click();
      return;
    case Kind::Logo:
      return switchTo(console_.mLogo, m.logoScreen, c.on);
    case Kind::Black:
      return switchTo(console_.Blackscreen1, m.blackScreen, c.on);
    case Kind::TextStart:
      switch (c.mode) {
        case RemoteCommand::TextMode::One:
          return console_.mRunStart->trigger();
        case RemoteCommand::TextMode::All:
          return console_.mStartAll->trigger();
        case RemoteCommand::TextMode::Static:
          return console_.mStatStart->trigger();
      }
      return;
    case Kind::TextStop:
      return console_.Clear1->trigger();
    case Kind::TextSelect:
      if (c.value < console_.RunText->ListStr()->count())
        console_.RunText->ListStr()->setCurrentRow(c.value);
      return;
  }
}

// The module's entry point (see app/remoteloader.h).
extern "C" Q_DECL_EXPORT Remote* createRemote(TFormCtrl& console, Match& match, Settings& settings,
                                              Platform& platform) {
  return new TRemoteControl(console, match, settings, platform);
}
