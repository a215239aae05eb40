#include "app/formctrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <utility>

#include "app/consolewidgets.h"
#include "app/courtpicture.h"
#include "app/journalstatusline.h"
#include "app/penaltymenu.h"
#include "board/boardview.h"
#include "commands/commands.h"
#include "commands/noticetext.h"
#include "config/cfgdialog.h"
#include "core/clocktext.h"
#include "core/match.h"
#include "display/tablo.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpfile.h"
#include "platform/helpviewer.h"
#include "platform/picture.h"
#include "platform/platform.h"
#include "platform/programfolder.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "settings/settingsgroups.h"
#include "ticker/runtextcontrols.h"
#include "widgets/appicon.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"
#include "widgets/glyphs.h"
#include "widgets/label3d.h"
#include "widgets/ovalbutton.h"
#include "widgets/picturebox.h"
#include "widgets/spinbutton.h"

using namespace consolewidgets;

namespace {

// The penalty menu's commands; what the command layer refuses is shown in the error box.
class ConsolePenaltyActions final : public PenaltyActions {
 public:
  ConsolePenaltyActions(Commands& commands, Dialogs& dialogs, QWidget* console)
      : commands_(commands), dialogs_(dialogs), console_(console) {}
  void givePenalty(int team, const QString& kind, std::optional<int> player) override {
    tell(commands_.givePenalty(team, kind, player));
  }
  bool setPenaltyTime(int team, int id, int seconds) override {
    return !commands_.setPenaltyTime(team, id, seconds);
  }
  void cancelPenalty(int team, int id) override { tell(commands_.cancelPenalty(team, id)); }
  void foul(int team, int delta) override { tell(commands_.foul(team, delta)); }

 private:
  void tell(const Notice& notice) {
    if (notice) dialogs_.showError(console_, TFormCtrl::kAppTitle, noticeText(notice));
  }
  Commands& commands_;
  Dialogs& dialogs_;
  QWidget* console_;
};

// How long a command's line stays on the console.
constexpr int kCommandLineMs = 8000;

// The list's height above the running texts, where it is shown.
constexpr int kPenaltyListHeight = 84;

}  // namespace

TFormCtrl::TFormCtrl(Platform& platform, MatchSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      platform_(platform),
      commands_(session.commands()),
      penaltyActions_(std::make_unique<ConsolePenaltyActions>(commands_, platform.dialogs, this)) {
  setObjectName("FormCtrl");
  setWindowIcon(applicationIcon());
  askClockTime = [](QWidget* parent, const QString& shown) -> std::optional<QString> {
    bool ok = false;
    const QString typed = QInputDialog::getText(
        parent, tr("Zeit setzen"), tr("Zeit (m:ss oder h:mm:ss):"), QLineEdit::Normal, shown, &ok);
    return ok ? std::optional(typed) : std::nullopt;
  };
  createControls();
  createClockAndUndoControls();
  connectControls();
  createCountdownControls();
  commandLine_ = new JournalStatusLine(this, Panel3);
  commandLine_->setObjectName("CommandLine");
  commandLineShown_ = new QTimer(this);
  commandLineShown_->setSingleShot(true);
  commandLineShown_->setInterval(kCommandLineMs);
  connect(commandLineShown_, &QTimer::timeout, commandLine_,
          [this] { commandLine_->setProblem({}); });
  connect(RunText, &RunTextControls::said, this, &TFormCtrl::say);
  connect(&commands_.match(), &Match::changed, this, &TFormCtrl::render);
  connect(&commands_.settings(), &Settings::changed, this, &TFormCtrl::applySettings);
  connect(&commands_.settings(), &Settings::configured, this, &TFormCtrl::applySettings);
  FormCreate();
  applySettings();
  render();
}

TFormCtrl::~TFormCtrl() = default;

void TFormCtrl::FormCreate() {
  setWindowTitle(QString(kAppTitle) + " " + kVersion);
  ImagePole->setAttribute(Qt::WA_TransparentForMouseEvents);
  helpFile_ = programFile("chm");
  const QString field = programFolder() + "/Hintergrund.jpg";
  if (QFileInfo::exists(field)) {
    const QImage picture =
        loadPicture(field, largestShownSize(size(), platform_.desktop.monitorBounds()));
    if (!picture.isNull()) ImagePole->setPicture(picture);
  }
  // The width is the field picture's; the window system adds its own frame around it.
  setFixedWidth(ImagePole->width());
  setMinimumHeight(kMinClientHeight);
  SpeedButton2->move(width() - SpeedButton2->width() - SpeedButton1->x(), SpeedButton2->y());
  FitNamesFont();
}

void TFormCtrl::takeStoredPlace(const ConsoleGroup& stored) {
  const std::optional<qint32> left = stored.integer("L"), top = stored.integer("T");
  if (left) move(*left, y());
  if (top) move(x(), *top);
  // Without a stored position the window system places the console on its first show.
  if (left || top) rememberedPos_ = pos();
  // The width is fixed; the stored height is the outer one. The frame is not known before the
  // window is shown: the height is taken as the client's until then, and the frame taken off
  // once it is there, so the console does not grow at every start. Never taller than the
  // tallest monitor: a height from a damaged file would take gigabytes.
  int tallest = kMinClientHeight;
  for (const QRect& monitor : platform_.desktop.monitorBounds())
    tallest = qMax(tallest, monitor.height());
  if (const std::optional<qint32> height = stored.integer("H")) {
    storedOuterHeight_ = qBound(kMinClientHeight, *height, tallest);
    resize(width(), *storedOuterHeight_);
  }
}

void TFormCtrl::takeStoredHeight() {
  const int frame = frameGeometry().height() - height();
  if (!storedOuterHeight_ || frame <= 0) return;
  resize(width(), qMax(*std::exchange(storedOuterHeight_, std::nullopt) - frame, kMinClientHeight));
}

void TFormCtrl::attachWindows(TFDlgYesNo* yesNo, TFormTablo* display, TCfgDialog* config,
                              TFormInfo* info) {
  FDlgYesNo = yesNo;
  FormTablo = display;
  CfgDialog = config;
  FormInfo = info;
  connect(display, &TFormTablo::activated, this, [this] { consoleInFront_ = false; });
  if (!config) return;
  // Font choices act on the display while the dialog is still open, even if it is cancelled.
  connect(config, &TCfgDialog::elementFontChosen, &commands_, &Commands::setElementFont);
  connect(config, &TCfgDialog::elementFontsReset, &commands_, &Commands::setElementFonts);
  // Default also gives the display its design base font, which the period number uses.
  connect(config, &TCfgDialog::elementFontsReset, display, &TFormTablo::resetBaseFont);
}

void TFormCtrl::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormCtrl::FormShow() {
  if (rememberedPos_) move(*rememberedPos_);
}

void TFormCtrl::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TFormCtrl::FormActivate() {
  consoleInFront_ = true;
  const QRect frame = frameGeometry();
  platform_.desktop.moveCursor({frame.left() + frame.width() / 2 + 2, frame.top() + 175});
}

void TFormCtrl::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  // exit(), not quit(): quit() asks every window to close, and the display refuses.
  QCoreApplication::exit(0);
}

bool TFormCtrl::FormCloseQuery() {
  if (!FDlgYesNo) return true;
  FDlgYesNo->SetQuestion(tr("Programm beenden?"));
  return FDlgYesNo->exec() == QDialog::Accepted;
}

void TFormCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  int listTop = kUpperPanelHeight;
  const int editTop = height() - kEditPanelHeight;
  if (penaltiesListed()) {
    penaltyList->setGeometry(0, listTop, width(), kPenaltyListHeight);
    listTop += kPenaltyListHeight;
  }
  ListArea->setGeometry(0, listTop, width(), qMax(0, editTop - listTop));
  Panel3->setGeometry(0, editTop, width(), kEditPanelHeight);
  takeStoredHeight();
  emit placeChanged(frameGeometry());
}

// The window system reports the frame once it has put one around the window, which moves the
// client area.
void TFormCtrl::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  takeStoredHeight();
  emit placeChanged(frameGeometry());
}

bool TFormCtrl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
    Image1Click();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---- Drawing the match and the settings ---------------------------------------------------

std::array<TLabel3D*, 4> TFormCtrl::penaltyLabels() const {
  return {LabStrafe1_1, LabStrafe1_2, LabStrafe2_1, LabStrafe2_2};
}

BoardView TFormCtrl::board() const {
  return boardView(commands_.match().state(), commands_.match().sport(),
                   commands_.settings().record());
}

void TFormCtrl::render() {
  const MatchState& s = commands_.match().state();
  const BoardView board = this->board();
  const bool running = s.clock == MatchClock::Running;
  LabelTime->setCaption(board.clockText);
  LabelTime->setFontColor(s.clockShown ? colors::yellow : colors::grey);
  Time1->setChecked(s.clockShown);
  bPlay->setCaption(running ? tr("Pause") : tr("Play"));  // the next action
  bPlay->setColor(running ? colors::yellow : colors::lime);
  bReset->setEnabled(s.started);
  bReset->setDown(false);
  sbSek->setEnabled(s.correctionOffered());
  bSetClock->setEnabled(!running);
  bUndo->setToolTip(commands_.canUndo()
                        ? tr("[Ctrl+Backspace] Rückgängig: %1").arg(commands_.nextUndo())
                        : tr("[Ctrl+Backspace] Rückgängig: nichts"));

  LabelTaym->setCaption(QString::number(board.period));
  LabelTaym->setFontColor(board.periodShown ? colors::black : colors::grey);
  LabelC1->setCaption(QString::number(board.teams[0].score));
  LabelC2->setCaption(QString::number(board.teams[1].score));
  // The display's penalty places in the console's narrow labels.
  for (int i = 0; i < 4; ++i) {
    penaltyLabels()[i]->setCaption(board.place(i).shortText);
    penaltyLabels()[i]->setFontColor(board.place(i).colour);
  }
  penaltyList->render(s, commands_.match().sport());
  renderCountdown(board);
}

void TFormCtrl::applySettings() {
  const TSettings& s = commands_.settings().record();
  cbCountdown->setChecked(s.CountDown);
  cbStrReset->setChecked(s.StrReset);
  bMute->setChecked(s.Muted);
  bMute->setText(s.Muted ? tr("Ton an") : tr("Ton aus"));
  if (const QString names = board().names; LabelNameCommands->caption() != names) {
    LabelNameCommands->setCaption(names);
    FitNamesFont();
  }
  // The view in effect, not the stored one: a refused configuration keeps the old layout.
  for (TLabel3D* label : penaltyLabels()) label->setVisible(commands_.settings().view() < 2);
  if (penaltyList->isVisibleTo(this) != penaltiesListed()) {
    penaltyList->setVisible(penaltiesListed());
    resizeEvent(nullptr);
  }
  render();
}

// ---- Handlers: each is a call of the command layer ----------------------------------------

void TFormCtrl::bPlayClick() {
  if (const Notice notice = commands_.playPause()) say(noticeText(notice));
}

void TFormCtrl::say(const QString& line) {
  commandLine_->setProblem(line);
  commandLineShown_->start();
}

void TFormCtrl::Reset1Click() {
  if (platform_.dialogs.askOkCancel(this, kAppTitle, tr("Reset GAME?"))) commands_.reset();
}

void TFormCtrl::MinutePMClick(int stepSeconds) { commands_.correct(stepSeconds); }

void TFormCtrl::cbCountdownClick() { commands_.setCountDown(cbCountdown->isChecked()); }

void TFormCtrl::Time1Click() { commands_.setClockShown(Time1->isChecked()); }

void TFormCtrl::mTymClick(int period) { commands_.setPeriod(period); }

void TFormCtrl::sbTaymUpClick() { commands_.periodUp(); }

void TFormCtrl::sbTaymDownClick() { commands_.periodDown(); }

void TFormCtrl::LabelTaymClick() { commands_.periodCycle(); }

// The score controls carry their operation: 1 home +1, 2 home -1, 3 guest +1, 4 guest -1.
void TFormCtrl::SchetDownClick(int operation) {
  if (operation < 1 || operation > 4) return;
  commands_.goal(operation <= 2 ? 1 : 2, operation % 2 ? +1 : -1);
}

void TFormCtrl::LabStrafe_Click(int slot) {
  // Where fouls take a team's first label, a click there counts one.
  if (commands_.match().sport().countsFouls() && slot % 2 == 0) {
    commands_.foul(PenaltyTable::teamOf(slot), +1);
    return;
  }
  const int shown = commands_.match().sport().countsFouls() ? slot - 1 : slot;
  commands_.penaltyClick(PenaltyTable::teamOf(shown), shown % 2 + 1);
}

void TFormCtrl::openPenaltyMenu(int slot, const QPoint& where) {
  const MatchState& s = commands_.match().state();
  const int team = PenaltyTable::teamOf(slot);
  const int shown = commands_.match().sport().countsFouls() && slot % 2 == 0 ? -1 : slot;
  const Penalty* penalty =
      shown < 0
          ? nullptr
          : s.penalty(team,
                      s.penalties[commands_.match().sport().countsFouls() ? shown - 1 : shown].id);
  QMenu menu(this);
  fillPenaltyMenu(menu, commands_.match().sport(), team, penalty, *penaltyActions_, askTextBox,
                  platform_.dialogs, this);
  menu.exec(where);
}

bool TFormCtrl::penaltiesListed() const {
  return commands_.match().sport().name != SportRules().name;
}

void TFormCtrl::FitNamesFont() {
  QFont font = LabelNameCommands->font();
  int size = 19;
  for (; size >= 4; --size) {
    font.setPointSize(size);
    if (QFontMetrics(font).horizontalAdvance(LabelNameCommands->caption()) <=
        LabelNameCommands->width())
      break;
  }
  font.setPointSize(qMax(size, 4) - 1);
  LabelNameCommands->setFont(font);
}

void TFormCtrl::Help1Click() {
  const QString help = helpToShow(helpFile_);
  if (help.isEmpty()) {
    platform_.dialogs.showWarning(
        this, kAppTitle,
        tr("Keine Hilfe gefunden: weder %1 noch das Handbuch liegen beim Programm.")
            .arg(QFileInfo(helpFile_).fileName()));
    return;
  }
  platform_.help.showContents(this, help);
}

// The dialog is modal, but the clock and the running text keep going while it is open: their
// timers run in the dialog's event loop. The dialog hands back the checked configuration,
// which goes to the command layer in one step; a refused period length is told afterwards.
void TFormCtrl::CFG1Click() {
  if (!CfgDialog || CfgDialog->isVisible()) return;
  CfgDialog->fill(commands_.settings().record());
  if (CfgDialog->exec() != QDialog::Accepted) return;
  const ConfirmedConfiguration configuration = CfgDialog->confirmed(commands_.settings().record());
  commands_.configure(configuration);
  if (configuration.refused()) platform_.dialogs.showError(this, kAppTitle, configuration.refusal);
}

void TFormCtrl::mInfoClick() {
  if (FormInfo) FormInfo->exec();
}

void TFormCtrl::Image1Click() { platform_.dialogs.openUrl(identity::kContactUrl); }

void TFormCtrl::ControlWindowClick() {
  QWidget* front = consoleInFront_ ? static_cast<QWidget*>(FormTablo) : this;
  if (!front) return;
  consoleInFront_ = front == this;
  if (front == FormTablo) FormTablo->showOnItsMonitor();
  front->raise();
  front->activateWindow();
}
