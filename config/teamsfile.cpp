#include "config/teamsfile.h"

#include <algorithm>

#include "platform/os/runlistfile.h"

namespace TeamsFile {

std::optional<QStringList> read(const QString& path) {
  QStringList lines;
  if (!RunListFile::read(path, lines, nullptr, nullptr, maxBytes)) return std::nullopt;
  lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
  std::stable_sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return lines;
}

}  // namespace TeamsFile
