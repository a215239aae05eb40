#include "app/commandline.h"

#include <QCoreApplication>

#include "core/sportrules.h"
#include "platform/identity.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

int toPort(const QString& text) {
  bool ok = false;
  const int port = text.toInt(&ok, 10);
  if (!ok || port < 1 || port > 65535)
    throw InvalidOptionValue(
        Words::tr("'%1' is not a port from 1 to 65535").arg(text).toStdString());
  return port;
}

QString toSport(const QString& name) {
  if (!SportRules::preset(name))
    throw InvalidOptionValue(Words::tr("'%1' is not a sport: %2")
                                 .arg(name, SportRules::presetNames().join(", "))
                                 .toStdString());
  return name;
}

// One long option: its name without the dashes, whether it takes "=value", its line in the help.
struct LongOption {
  enum class Value { None, Optional, Required };
  const char* name;
  Value value;
  const char* valueName;
  const char* help;
  void (*apply)(StartOptions& options, const QString& value);
};

const LongOption kLongOptions[] = {
    {"help", LongOption::Value::None, "",
     QT_TRANSLATE_NOOP("CommandLine", "show this help and exit"),
     [](StartOptions& o, const QString&) { o.printHelp = true; }},
    {"version", LongOption::Value::None, "",
     QT_TRANSLATE_NOOP("CommandLine", "show the version and exit"),
     [](StartOptions& o, const QString&) { o.printVersion = true; }},
    {"report", LongOption::Value::Required, "JOURNAL",
     QT_TRANSLATE_NOOP("CommandLine", "print the report of a match and exit"),
     [](StartOptions& o, const QString& value) { o.reportJournal = value; }},
    {"format", LongOption::Value::Required, "csv|json",
     QT_TRANSLATE_NOOP("CommandLine", "the report's format (csv)"),
     [](StartOptions& o, const QString& value) { o.reportFormat = value; }},
    {"remote", LongOption::Value::Optional, "PORT",
     QT_TRANSLATE_NOOP("CommandLine",
                       "start the remote control for phones and the stream overlay (port 8440)"),
     [](StartOptions& o, const QString& port) {
       o.remote = true;
       if (!port.isNull()) o.remotePort = toPort(port);
     }},
    {"sport", LongOption::Value::Required, "NAME",
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "play by the rules of standard, handball, floorball, icehockey or futsal (stored)"),
     [](StartOptions& o, const QString& name) { o.sport = toSport(name); }},
};

QString helpText() {
  QString text =
      Words::tr(
          "Usage: %1 [OPTION]... [/Wn] [/Hn] [/Xn] [/Yn]\n"
          "%2 %3: match scoreboard with an operator console and a display "
          "window for the hall.\n\n")
          .arg(QString(identity::kTitle).toLower(), identity::kTitle, identity::kVersion);
  for (const LongOption& option : kLongOptions) {
    QString form = QString("--") + option.name;
    if (option.value == LongOption::Value::Required) form += QString("=") + option.valueName;
    if (option.value == LongOption::Value::Optional) form += QString("[=%1]").arg(option.valueName);
    text += QString("  %1  %2\n").arg(form, -18).arg(Words::tr(option.help));
  }
  text += Words::tr(
      "  /Wn, /Hn            limit the display window's width, height to n pixels\n"
      "  /Xn, /Yn            place the display window n pixels from its monitor's left, top "
      "edge\n");
  return text;
}

int toInteger(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok)
    throw InvalidOptionValue(
        Words::tr("'%1' is not a valid integer value").arg(text).toStdString());
  return value;
}

}  // namespace

DisplayOptions parseDisplayOptions(const QStringList& arguments) {
  DisplayOptions options;
  for (const QString& argument : arguments) {
    if (argument.size() <= 2 || argument[0] != '/') continue;
    std::optional<int>* target = nullptr;
    switch (argument[1].toUpper().unicode()) {
      case 'H':
        target = &options.maxHeight;
        break;
      case 'W':
        target = &options.maxWidth;
        break;
      case 'X':
        target = &options.left;
        break;
      case 'Y':
        target = &options.top;
        break;
      default:
        continue;
    }
    *target = toInteger(argument.mid(2));
  }
  return options;
}

StartOptions parseStartOptions(const QStringList& arguments) {
  StartOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (!argument.startsWith("--")) continue;
    const qsizetype equals = argument.indexOf('=');
    const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
    QString value = equals < 0 ? QString() : argument.mid(equals + 1);
    for (const LongOption& option : kLongOptions) {
      if (name != option.name) continue;
      bool hasValue = equals >= 0;
      if (hasValue && option.value == LongOption::Value::None) break;
      // A required value may also follow as the next argument.
      if (!hasValue && option.value == LongOption::Value::Required && i + 1 < arguments.size()) {
        value = arguments[++i];
        hasValue = true;
      }
      if (!hasValue && option.value == LongOption::Value::Required) break;
      option.apply(options, value);
    }
  }
  return options;
}

QString terminalAnswer(const StartOptions& options) {
  if (options.printHelp) return helpText();
  if (options.printVersion) return QString("%1 %2\n").arg(identity::kTitle, identity::kVersion);
  return QString();
}
