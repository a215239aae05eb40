#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <memory>

#include "app/commandline.h"
#include "app/formctrl.h"
#include "app/reportcommand.h"
#include "core/match.h"
#include "display/tablo.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpviewer.h"
#include "platform/identity.h"
#include "platform/platform.h"
#include "platform/settingskey_qt.h"
#include "platform/sound.h"
#include "platform/tickcounter.h"
#include "settings/cfgdialog.h"
#include "settings/settings.h"
#include "widgets/appicon.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"

int main(int argc, char* argv[]) {
  // --help, --version and --report answer on the terminal before Qt looks for a display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  const StartOptions startOptions = parseStartOptions(arguments);
  const QString answer = terminalAnswer(startOptions);
  if (!answer.isEmpty()) {
    std::fputs(answer.toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (startOptions.reportJournal)
    return printReport(*startOptions.reportJournal, startOptions.reportFormat);

  QApplication app(argc, argv);
  QApplication::setApplicationName(identity::kTitle);
  QApplication::setApplicationVersion(identity::kVersion);
  QApplication::setDesktopFileName(identity::kAppId);
  QApplication::setWindowIcon(applicationIcon());
  QApplication::setQuitOnLastWindowClosed(false);

  QtTickCounter tick;
  QtSoundService sound;
  QtDesktop desktop;
  QtDialogs dialogs;
  QtSettingsKey settingsKey(QString("\\Software\\Merrowtide\\") + TFormCtrl::kAppTitle);
  SystemHelpViewer help;  // before the first window: it may warn that help is missing
  Platform platform{tick, sound, desktop, dialogs, settingsKey, help};

  // The match and the settings outlive every window that shows or changes them.
  Settings settings;
  Match match;

  // The windows in their order of creation; the first is the main window.
  auto console = std::make_unique<TFormCtrl>(platform, settings, match);
  auto yesNo = std::make_unique<TFDlgYesNo>(TFormCtrl::kAppTitle, console.get());
  auto display = std::make_unique<TFormTablo>(platform, settings, match);
  auto config = std::make_unique<TCfgDialog>(console.get());
  auto info = std::make_unique<TFormInfo>(dialogs, console.get());
  console->attachWindows(yesNo.get(), display.get(), config.get(), info.get());

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

  display->show();
  display->ApplyScreenMode();
  QApplication::processEvents();
  console->show();
  const int result = app.exec();

  // Reverse order of creation: the display stores its settings before the console.
  info.reset();
  config.reset();
  display->FormDestroy();
  display.reset();
  yesNo.reset();
  console->FormDestroy();
  console.reset();
  return result;
}
