#include "app/commandline.h"

namespace {

int toInteger(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  if (!ok)
    throw InvalidOptionValue(QString("'%1' is not a valid integer value").arg(text).toStdString());
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
