#include "app/program.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/commandline.h"
#include "app/formctrl.h"
#include "app/instancelock.h"
#include "app/journalsession.h"
#include "app/journalstatusline.h"
#include "app/keyforwarding.h"
#include "app/remoteloader.h"
#include "app/reportcommand.h"
#include "commands/commands.h"
#include "config/cfgdialog.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "journal/matchjournal.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpviewer.h"
#include "platform/identity.h"
#include "platform/journalfile.h"
#include "platform/platform.h"
#include "platform/programfolder.h"
#include "platform/settingskey_qt.h"
#include "platform/sound.h"
#include "platform/tickcounter.h"
#include "settings/settings.h"
#include "settings/settingssave.h"
#include "settings/settingsstore.h"
#include "ticker/runtextcontrols.h"
#include "widgets/appicon.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"

namespace {

// A moved console is stored once it has come to rest, not at every step of the drag.
constexpr int kPlaceSettleMs = 500;
// How long the window system has to map a window that was just shown.
constexpr int kMapCheckMs = 1000;

// After start-up's question the display is on its monitor, whatever became of it while the
// question was open; the check waits until the window system has answered the first show.
void showDisplayAfterStart(TFormTablo& display) {
  QTimer::singleShot(kMapCheckMs, &display, &TFormTablo::showOnItsMonitor);
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
  InstanceLock instance({defaultJournalFolder() + "/scorvex", settingsKey.location()});
  if (!instance.acquire()) {
    std::fprintf(stderr, "%s\n", InstanceLock::kRunningMessage);
    instance.askToRaise();
    return 0;
  }
  SystemHelpViewer help;  // before the first window: it may warn that help is missing
  Platform platform{tick, sound, desktop, dialogs, settingsKey, help};

  // The models and the command layer outlive every window that shows or changes them. The
  // settings are read once, before any window exists.
  Settings settings;
  Match match;
  RunTextList texts;
  SettingsStore store(settingsKey, settings);
  store.load(defaultWarningSound(sound.systemSoundFile()), desktop.monitorBounds().size());
  Commands commands(match, settings, texts, platform, programFolder());
  if (startOptions.sport) commands.chooseSport(*startOptions.sport);

  // The windows in their order of creation; the first is the main window.
  auto console = std::make_unique<TFormCtrl>(platform, commands);
  auto yesNo = std::make_unique<TFDlgYesNo>(TFormCtrl::kAppTitle, console.get());
  auto display = std::make_unique<TFormTablo>(platform, settings, match);
  auto config = std::make_unique<TCfgDialog>(platform, programFolder(), console.get());
  auto info = std::make_unique<TFormInfo>(dialogs, console.get());
  console->takeStoredPlace(store.storedConsole());
  display->takeStoredPlace(store.storedDisplay());
  console->attachWindows(yesNo.get(), display.get(), config.get(), info.get());
  forwardCommandKeys(*display, *console);
  QObject::connect(display.get(), &TFormTablo::runTextEnded, &commands, &Commands::textPassEnded);
  auto remote = std::make_unique<RemoteLoader>(*console->mRemote, *console, commands, platform);
  console->RunText->loadDefaultList();
  QObject::connect(&instance, &InstanceLock::raiseRequested, console.get(), [&] {
    console->showNormal();
    console->raise();
    console->activateWindow();
  });

  try {
    const DisplayOptions options = parseDisplayOptions(app.arguments().mid(1));
    if (options.maxHeight) display->limitHeight(*options.maxHeight);
    if (options.maxWidth) display->limitWidth(*options.maxWidth);
    if (options.left) display->placeLeft(*options.left);
    if (options.top) display->placeTop(*options.top);
  } catch (const InvalidOptionValue& error) {
    std::fprintf(stderr, "%s\n", error.what());
    QMessageBox::critical(nullptr, TFormCtrl::kAppTitle, QString::fromUtf8(error.what()));
    return 1;
  }

  // The screen mode before the first show: changing it on a shown window hides and shows it
  // again in one go, which a window manager can leave unmapped.
  display->ApplyScreenMode();
  display->show();
  QApplication::processEvents();
  console->show();

  // A match that did not end normally is offered back before the operator gives a command.
  JournalSession journal(defaultJournalFolder(), match, tick);
  const std::optional<JournalContents> resumed = journal.open([&](const QString& question) {
    yesNo->SetQuestion(question);
    return yesNo->exec() == QDialog::Accepted;
  });
  showDisplayAfterStart(*display);
  if (resumed) {
    const bool countDown = resumed->state->state.countDown;
    commands.setCountDown(countDown);
    if (resumed->texts) texts.restore(resumed->texts->lines, resumed->texts->selected);
    commands.restoreUndoSteps(resumed->undoSteps);
  }
  QObject::connect(&commands, &Commands::undoStepAdded, &journal, &JournalSession::recordUndoStep);
  const auto recordTexts = [&] { journal.recordTexts({texts.lines(), texts.selected()}); };
  recordTexts();
  QObject::connect(&texts, &RunTextList::linesEdited, recordTexts);
  const auto recordNames = [&] {
    const TSettings& s = settings.record();
    journal.recordNames({s.Comanda1, s.Comanda2, s.Title});
  };
  recordNames();
  QObject::connect(&settings, &Settings::changed, &journal, recordNames);
  auto* journalStatus = new JournalStatusLine(console.get(), console->Panel3);
  QObject::connect(&journal, &JournalSession::problemChanged, journalStatus,
                   &JournalStatusLine::setProblem);
  journalStatus->setProblem(journal.problem());
  QObject::connect(&journal, &JournalSession::problemChanged, remote.get(),
                   &RemoteLoader::setJournalProblem);
  remote->setJournalProblem(journal.problem());
  QObject::connect(&commands, &Commands::hornSounded, &journal, &JournalSession::recordHorn);
  // A sound file that cannot be played is told once, in one line on the console.
  auto* soundStatus = new JournalStatusLine(console.get(), console->Panel3);
  soundStatus->setObjectName("SoundStatusLine");
  sound.setReport([soundStatus](const QString& line) { soundStatus->setProblem(line); });
  commands.checkWarningSound();
  QObject::connect(console.get(), &TFormCtrl::reportRequested,
                   [&] { saveReport(dialogs, console.get(), journal.lastMatchPath()); });

  // Settings are stored as soon as they change, not only at the end, so a crash loses none.
  // A store that refuses is told once, on stderr, and at exit in the error box. The windows
  // report where they are; a moved console is stored once it has come to rest.
  QObject::connect(console.get(), &TFormCtrl::placeChanged, display.get(),
                   [&](const QRect& bounds) { store.setConsoleBounds(bounds); });
  QObject::connect(display.get(), &TFormTablo::placeChanged, display.get(),
                   [&](const QSize& size, const QPoint& at) { store.setDisplayPlace(size, at); });
  store.setConsoleBounds(console->frameGeometry());
  store.setDisplayPlace(display->size(), display->pos());
  bool storeFailureTold = false;
  const auto storeSettings = [&] {
    settingsKey.holdWrites();
    store.writeGroups();
    QString reason;
    if (settingsKey.commit(&reason) || std::exchange(storeFailureTold, true)) return;
    std::fprintf(stderr, "Scorvex: Einstellungen nicht gespeichert in %s: %s\n",
                 qPrintable(settingsKey.storeName()), qPrintable(reason));
  };
  QTimer placeSettled;
  placeSettled.setSingleShot(true);
  placeSettled.setInterval(kPlaceSettleMs);
  QObject::connect(&settings, &Settings::changed, display.get(), storeSettings);
  QObject::connect(&placeSettled, &QTimer::timeout, display.get(), storeSettings);
  QObject::connect(console.get(), &TFormCtrl::placeChanged, &placeSettled,
                   qOverload<>(&QTimer::start));
  // A sport given on the command line, or one stored that no preset has, is stored at once.
  if (startOptions.sport || store.storedConsole().sportRefused()) storeSettings();

  if (startOptions.remote || settings.record().RemoteOn) remote->start(startOptions.remotePort);
  const int result = app.exec();
  journal.finish();
  sound.setReport({});  // its line goes with the console

  // The server closes its connections first; whether it ran is in the settings for next time.
  remote.reset();

  // Both groups reach the store together, and a failure is told before the program ends.
  info.reset();
  config.reset();
  saveSettingsAtExit(settingsKey, dialogs, TFormCtrl::kAppTitle, [&] { store.writeGroups(); });
  display.reset();
  yesNo.reset();
  console.reset();
  return result;
}
