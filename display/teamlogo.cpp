#include "display/teamlogo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "platform/picture.h"
#include "widgets/picturebox.h"

namespace {

QString decodeText(const QByteArray& data) {
  if (const auto bom = QStringConverter::encodingForData(data)) return QStringDecoder(*bom)(data);
  QStringDecoder utf8(QStringConverter::Utf8);
  // A sequence cut off at the read limit is left pending in the decoder, not an error.
  const QString text = utf8(data);
  return utf8.hasError() ? QString::fromLatin1(data) : text;
}

// Tabs stay: the logo label expands them to its tab stops.
QString withoutControls(QStringView line) {
  QString out;
  for (QChar c : line)
    if (c == u'\t' || c.category() != QChar::Other_Control) out += c;
  return out;
}

std::optional<QString> readLogoText(const QString& path) {
  if (!QFileInfo(path).isFile()) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return logoText(file.read(logotext::maxBytes));
}

}  // namespace

std::optional<QString> logoText(const QByteArray& data) {
  const QByteArray head = data.left(logotext::maxBytes);
  if (!QStringConverter::encodingForData(head) && head.contains('\0')) return {};
  QString text = decodeText(head);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = text.split(QLatin1Char('\n'));
  // A final line break ends the last line rather than starting another.
  if (text.endsWith(QLatin1Char('\n')) || text.isEmpty()) lines.removeLast();
  QString result;
  for (const QString& line : lines.mid(0, logotext::maxLines))
    result += withoutControls(line) + QLatin1Char('\n');
  return result;
}

TeamLogo findTeamLogo(const QString& dir, const QString& teamName, QSize largest) {
  const QString base = QDir(dir).filePath(teamName);
  TeamLogo logo;
  logo.picture = loadPicture(base + QLatin1String(".gif"), largest);
  if (logo.picture.isNull()) logo.picture = loadPicture(base + QLatin1String(".jpg"), largest);
  if (logo.picture.isNull()) {
    // The failed GIF switched the logo's transparency on; of the formats only a BMP honours
    // it, leaving out the colour of its bottom-left pixel. That colour goes before a picture
    // too big is reduced, which would blend it into its neighbours.
    logo.picture = loadPicture(base + QLatin1String(".bmp"));
    if (!logo.picture.isNull()) {
      const QRgb colour = logo.picture.pixel(0, logo.picture.height() - 1);
      logo.transparentColour = colour;
      if (fittedSize(logo.picture.size(), largest) != logo.picture.size())
        logo.picture = fitWithin(withoutColour(logo.picture, colour), largest);
    }
  }
  if (!logo.picture.isNull()) {
    logo.kind = TeamLogo::Kind::Picture;
  } else if (const std::optional<QString> text = readLogoText(base + QLatin1String(".txt"))) {
    logo.kind = TeamLogo::Kind::Text;
    logo.text = *text;
  }
  return logo;
}
