#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

// A team's logo as found beside the program: a picture, or a text when there is no picture.
struct TeamLogo {
  enum class Kind { None, Picture, Text };
  Kind kind = Kind::None;
  QImage picture;
  // Set for a BMP logo: it is drawn without the colour of its bottom-left pixel.
  std::optional<QRgb> transparentColour;
  QString text;  // its lines, each followed by a line break
};

// Logo text files are read only this far; a logo text is a few short lines.
namespace logotext {
constexpr qint64 maxBytes = 4096;
constexpr int maxLines = 16;
}  // namespace logotext

// The logo text in a text file's bytes: at most maxLines lines, each followed by "\n", with
// control characters other than tabs dropped. UTF-8, or Latin-1 where the bytes are not UTF-8,
// or UTF-16/32 after a byte order mark. Nothing for binary data.
std::optional<QString> logoText(const QByteArray& data);

// Looks for the files teamName + ".gif", ".jpg", ".bmp" and ".txt" in dir, in this order, and
// takes the first that loads. A picture is kept no larger than largest (see fitWithin).
TeamLogo findTeamLogo(const QString& dir, const QString& teamName, QSize largest = {});
