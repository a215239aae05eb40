#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "app/commandline.h"
#include "app/program.h"
#include "app/reportcommand.h"
#include "platform/qttranslations.h"

int main(int argc, char* argv[]) {
  // --help, --version and --report answer on the terminal before Qt looks for a display.
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  StartOptions startOptions;
  try {
    startOptions = parseStartOptions(arguments);
  } catch (const InvalidOptionValue& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 2;
  }
  const QString answer = terminalAnswer(startOptions);
  if (!answer.isEmpty()) {
    std::fputs(answer.toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (startOptions.reportJournal)
    return printReport(*startOptions.reportJournal, startOptions.reportFormat);

  QApplication app(argc, argv);
  installQtTranslations(QLocale::system());
  installProgramTranslations(QLocale::system());
  return runProgram(app, startOptions);
}
