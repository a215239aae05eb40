// libFuzzer target for the team list file: whatever bytes teams.txt holds, the names come
// sorted ignoring case, none blank, none holding a line end or longer than a list entry, and
// together no more than the bytes read could give. Each input is read twice: as the whole
// file, and after one long line that pushes the input's middle to the reading cap, so that the
// cut falls at every place of a line.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "config/teamsfile.h"
#include "platform/os/runlistfile.h"

namespace {

bool sane(const QStringList& names) {
  qsizetype characters = 0;
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString& name = names.at(i);
    if (name.trimmed().isEmpty() || name.size() > RunListFile::maxEntryLength ||
        name.contains(u'\r') || name.contains(u'\n') || name.contains(QChar(0)))
      return false;
    if (i > 0 && names.at(i - 1).compare(name, Qt::CaseInsensitive) > 0) return false;
    characters += name.size();
  }
  // Every name took at least one byte and a line end, every character at least one byte.
  return names.size() <= TeamsFile::maxBytes / 2 && characters <= TeamsFile::maxBytes;
}

void check(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    __builtin_trap();
  file.close();
  const std::optional<QStringList> names = TeamsFile::read(path);
  if (!names || !sane(*names)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const QTemporaryDir dir;
  const QString path = dir.filePath(TeamsFile::fileName);
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  check(path, bytes);
  check(path, QByteArray(TeamsFile::maxBytes - bytes.size() / 2 - 1, 'x') + '\n' + bytes);
  return 0;
}
