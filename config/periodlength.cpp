#include "config/periodlength.h"

#include <QStringList>
#include <algorithm>

QString periodLengthText(int seconds) {
  seconds = std::max(seconds, 0);
  const int minutes = std::min(seconds / 60, 99);
  return QString::asprintf("%02d:%02d", minutes, seconds % 60);
}

std::optional<int> periodSeconds(const QString& text) {
  const QStringList parts = text.split(u':');
  if (parts.size() != 3) return std::nullopt;
  int fields[3];
  for (int i = 0; i < 3; ++i) {
    const QString& part = parts[i];
    const bool digits =
        std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (part.isEmpty() || part.size() > 2 || !digits) return std::nullopt;
    fields[i] = part.toInt();
  }
  const auto [hours, minutes, secs] = fields;
  if (hours > 23 || minutes > 59 || secs > 59) return std::nullopt;
  return hours * 3600 + minutes * 60 + secs;
}
