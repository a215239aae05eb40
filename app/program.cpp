#include "app/program.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

#include "app/commandline.h"
#include "app/formctrl.h"
#include "app/instancelock.h"
#include "app/journalstatusline.h"
#include "app/operatorkeys.h"
#include "app/remoteloader.h"
#include "app/reportcommand.h"
#include "config/cfgdialog.h"
#include "display/tablo.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpviewer.h"
#include "platform/identity.h"
#include "platform/os/journalfile.h"
#include "platform/os/tickcounter.h"
#include "platform/platform.h"
#include "platform/programfolder.h"
#include "platform/settingskey_qt.h"
#include "platform/sound.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "settings/settingssave.h"
#include "settings/settingsstore.h"
#include "ticker/runtextcontrols.h"
#include "widgets/appicon.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"

namespace {

Q_LOGGING_CATEGORY(lcApp, "scorvex.app")

// A moved console is stored once it has come to rest, not at every step of the drag.
constexpr int kPlaceSettleMs = 500;
// How long the window system has to map a window that was just shown.
constexpr int kMapCheckMs = 1000;

// After start-up's question the display is on its monitor, whatever became of it while the
// question was open; the check waits until the window system has answered the first show.
void showDisplayAfterStart(TFormTablo& display) {
  QTimer::singleShot(kMapCheckMs, &display, &TFormTablo::showOnItsMonitor);
}

// The windows in their order of creation; the console is the main window.
struct Windows {
  std::unique_ptr<TFormCtrl> console;
  std::unique_ptr<TFDlgYesNo> yesNo;
  std::unique_ptr<TFormTablo> display;
  std::unique_ptr<TCfgDialog> config;
  std::unique_ptr<TFormInfo> info;
};

Windows createWindows(Platform& platform, MatchSession& session, const SettingsStore& store) {
  Windows w;
  w.console = std::make_unique<TFormCtrl>(platform, session);
  w.yesNo = std::make_unique<TFDlgYesNo>(TFormCtrl::kAppTitle, w.console.get());
  w.display = std::make_unique<TFormTablo>(platform, session.settings(), session.match());
  w.config = std::make_unique<TCfgDialog>(platform, programFolder(), w.console.get());
  w.info = std::make_unique<TFormInfo>(platform.dialogs, w.console.get());
  w.console->takeStoredPlace(store.storedConsole());
  w.display->takeStoredPlace(store.storedDisplay());
  w.console->attachWindows(w.yesNo.get(), w.display.get(), w.config.get(), w.info.get());
  return w;
}

// The display reports the end of a running-text pass and whether it found a logo screen; the
// operator's keys act on both windows alike.
void connectSession(MatchSession& session, Windows& w, Dialogs& dialogs, RemoteLoader& remote) {
  session.setLogoAvailable(w.display->hasLogoScreen());
  QObject::connect(w.display.get(), &TFormTablo::runTextEnded, &session,
                   &MatchSession::textPassEnded);
  TFormCtrl* console = w.console.get();
  auto* keys = new OperatorKeys(
      {session, *console,
       [&session, &dialogs, console] { saveReport(dialogs, console, session.lastMatchPath()); },
       [&remote] { remote.start(); }},
      console);
  keys->install(*console);
  keys->install(*w.display);
}

// The command line may limit and place the display; a bad value ends the program.
bool placeDisplay(const QStringList& arguments, TFormTablo& display) {
  try {
    const DisplayOptions options = parseDisplayOptions(arguments);
    if (options.maxHeight) display.limitHeight(*options.maxHeight);
    if (options.maxWidth) display.limitWidth(*options.maxWidth);
    if (options.left) display.placeLeft(*options.left);
    if (options.top) display.placeTop(*options.top);
  } catch (const InvalidOptionValue& error) {
    qCCritical(lcApp, "%s", error.what());
    QMessageBox::critical(nullptr, TFormCtrl::kAppTitle, QString::fromUtf8(error.what()));
    return false;
  }
  return true;
}

// A match that did not end normally is offered back before the operator gives a command.
void openJournal(MatchSession& session, TFDlgYesNo& yesNo) {
  session.openJournal(defaultJournalFolder(), [&yesNo](const QString& question) {
    yesNo.SetQuestion(question);
    return yesNo.exec() == QDialog::Accepted;
  });
}

// What the operator must know at once: the journal's red line and a sound that cannot play.
void showProblemLines(MatchSession& session, SoundLoader& sound, TFormCtrl& console) {
  auto* journalStatus = new JournalStatusLine(&console, console.Panel3);
  QObject::connect(&session, &MatchSession::journalProblemChanged, journalStatus,
                   &JournalStatusLine::setProblem);
  journalStatus->setProblem(session.journalProblem());
  // A sound file that cannot be played is told once, in one line on the console.
  auto* soundStatus = new JournalStatusLine(&console, console.Panel3);
  soundStatus->setObjectName("SoundStatusLine");
  sound.setReport([soundStatus](const QString& line) { soundStatus->setProblem(line); });
}

// Settings are stored as soon as they change, not only at the end, so a crash loses none.
// A store that refuses is told once in the log, and at exit in the error box. The windows
// report where they are; a moved console is stored once it has come to rest. Returns the
// function that stores them.
std::function<void()> keepSettingsStored(QtSettingsKey& key, SettingsStore& store,
                                         Settings& settings, Windows& w, QTimer& placeSettled) {
  QObject::connect(w.console.get(), &TFormCtrl::placeChanged, w.display.get(),
                   [&store](const QRect& bounds) { store.setConsoleBounds(bounds); });
  QObject::connect(
      w.display.get(), &TFormTablo::placeChanged, w.display.get(),
      [&store](const QSize& size, const QPoint& at) { store.setDisplayPlace(size, at); });
  store.setConsoleBounds(w.console->frameGeometry());
  store.setDisplayPlace(w.display->size(), w.display->pos());
  auto told = std::make_shared<bool>(false);
  const auto storeSettings = [&key, &store, told] {
    key.holdWrites();
    store.writeGroups();
    QString reason;
    if (key.commit(&reason) || std::exchange(*told, true)) return;
    qCWarning(lcApp, "Einstellungen nicht gespeichert in %s: %s", qPrintable(key.storeName()),
              qPrintable(reason));
  };
  placeSettled.setSingleShot(true);
  placeSettled.setInterval(kPlaceSettleMs);
  QObject::connect(&settings, &Settings::changed, w.display.get(), storeSettings);
  QObject::connect(&placeSettled, &QTimer::timeout, w.display.get(), storeSettings);
  QObject::connect(w.console.get(), &TFormCtrl::placeChanged, &placeSettled,
                   qOverload<>(&QTimer::start));
  return storeSettings;
}

}  // namespace

int runProgram(QApplication& app, const StartOptions& startOptions) {
  QApplication::setApplicationName(identity::kTitle);
  QApplication::setApplicationVersion(identity::kVersion);
  QApplication::setDesktopFileName(identity::kAppId);
  QApplication::setWindowIcon(applicationIcon());
  QApplication::setQuitOnLastWindowClosed(false);

  QtTickCounter tick;
  SoundLoader sound;
  QtDesktop desktop;
  QtDialogs dialogs;
  QtSettingsKey settingsKey(QString("\\Software\\Merrowtide\\") + TFormCtrl::kAppTitle);
  // One program per user: a second start touches neither the journal nor the settings.
  InstanceLock instance({defaultJournalFolder(), settingsKey.location()});
  if (!instance.startOrRaise()) return 0;
  SystemHelpViewer help;  // before the first window: it may warn that help is missing
  Platform platform{tick, sound, desktop, dialogs, help};

  // The settings are read once, before any window exists; the session outlives every window
  // that shows or changes the match.
  Settings settings;
  SettingsStore store(settingsKey, settings);
  store.load(defaultWarningSound(sound.systemSoundFile()), desktop.monitorBounds().size());
  MatchSession session(settings, platform, programFolder());
  if (startOptions.sport) session.commands().chooseSport(*startOptions.sport);

  Windows windows = createWindows(platform, session, store);
  auto remote = std::make_unique<RemoteLoader>(session, platform);
  connectSession(session, windows, dialogs, *remote);
  windows.console->RunText->loadDefaultList();
  QObject::connect(&instance, &InstanceLock::raiseRequested, windows.console.get(),
                   [console = windows.console.get()] {
                     console->showNormal();
                     console->raise();
                     console->activateWindow();
                   });
  if (!placeDisplay(app.arguments().mid(1), *windows.display)) return 1;

  // The screen mode before the first show: changing it on a shown window hides and shows it
  // again in one go, which a window manager can leave unmapped.
  windows.display->ApplyScreenMode();
  windows.display->show();
  QApplication::processEvents();
  windows.console->show();
  openJournal(session, *windows.yesNo);
  showDisplayAfterStart(*windows.display);
  showProblemLines(session, sound, *windows.console);
  session.commands().checkWarningSound();

  QTimer placeSettled;
  const auto storeSettings =
      keepSettingsStored(settingsKey, store, settings, windows, placeSettled);
  // A sport given on the command line, or one stored that no preset has, is stored at once.
  if (startOptions.sport || store.storedConsole().sportRefused()) storeSettings();

  if (startOptions.remote || settings.record().RemoteOn) remote->start(startOptions.remotePort);
  const int result = app.exec();
  session.finishJournal();
  sound.setReport({});  // its line goes with the console

  // The server closes its connections first; whether it ran is in the settings for next time.
  remote.reset();

  // Both groups reach the store together, and a failure is told before the program ends.
  windows.info.reset();
  windows.config.reset();
  saveSettingsAtExit(settingsKey, dialogs, TFormCtrl::kAppTitle, [&] { store.writeGroups(); });
  windows.display.reset();
  windows.yesNo.reset();
  windows.console.reset();
  return result;
}
