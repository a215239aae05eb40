#include "platform/settingskey_regfile.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace regfile {
namespace {

constexpr char16_t kHeader[] = u"Windows Registry Editor Version 5.00";

// regedit exports UTF-16 with a byte-order mark; files written here or by hand are UTF-8.
// Bytes that are not valid in the encoding become replacement characters, never an error.
QString decode(QByteArrayView data) {
  QStringDecoder decoder(QStringConverter::encodingForData(data).value_or(QStringConverter::Utf8));
  QString text = decoder(data);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text;
}

bool isHexDigits(QStringView s, qsizetype maxDigits) {
  return !s.isEmpty() && s.size() <= maxDigits && std::all_of(s.begin(), s.end(), [](QChar c) {
    return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f');
  });
}

// A quoted string starting at pos (the opening quote); pos ends after the closing quote.
std::optional<QString> unquote(QStringView line, qsizetype& pos) {
  QString out;
  for (++pos; pos < line.size(); ++pos) {
    QChar c = line[pos];
    if (c == u'"') {
      ++pos;
      return out;
    }
    if (c == u'\\') {
      if (++pos == line.size()) break;
      c = line[pos];
      if (c == u'n') c = u'\n';
      if (c == u'r') c = u'\r';
    }
    out += c;
  }
  return std::nullopt;
}

QString quote(const QString& text) {
  QString out = QStringLiteral("\"");
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'\\':
        out += u"\\\\";
        break;
      case u'"':
        out += u"\\\"";
        break;
      case u'\n':
        out += u"\\n";
        break;
      case u'\r':
        out += u"\\r";
        break;
      default:
        out += c;
    }
  }
  return out + u'"';
}

// "hex(2):41,00,00,00": an expandable text as UTF-16LE bytes; read as text without expansion.
std::optional<QString> expandableText(QStringView hexList) {
  QByteArray bytes;
  if (!hexList.trimmed().isEmpty()) {
    for (QStringView part : hexList.split(u',')) {
      part = part.trimmed();
      if (!isHexDigits(part, 2)) return std::nullopt;
      bytes += char(part.toUInt(nullptr, 16));
    }
  }
  QString text = QStringDecoder(QStringConverter::Utf16LE)(bytes);
  const qsizetype end = text.indexOf(QChar(0));
  if (end >= 0) text.truncate(end);
  return text;
}

// A kind prefix such as "hex:" or "hex(7):".
bool hasKindPrefix(QStringView value) {
  const qsizetype colon = value.indexOf(u':');
  return colon > 0 && std::all_of(value.begin(), value.begin() + colon, [](QChar c) {
           return c.isLetterOrNumber() || c == u'(' || c == u')';
         });
}

std::optional<QVariant> parseValue(QStringView value) {
  if (value.startsWith(u'"')) {
    qsizetype pos = 0;
    const std::optional<QString> text = unquote(value, pos);
    if (!text || !value.mid(pos).trimmed().isEmpty()) return std::nullopt;
    return QVariant(*text);
  }
  if (value.startsWith(u"dword:", Qt::CaseInsensitive)) {
    const QStringView digits = value.mid(6).trimmed();
    if (!isHexDigits(digits, 8)) return std::nullopt;
    return QVariant(qint32(digits.toUInt(nullptr, 16)));
  }
  if (value.startsWith(u"hex(2):", Qt::CaseInsensitive)) {
    const std::optional<QString> text = expandableText(value.mid(7));
    if (!text) return std::nullopt;
    return QVariant(*text);
  }
  if (!hasKindPrefix(value)) return std::nullopt;
  // Written back as it stands, a value ending in ",\" would continue onto the next line.
  while (value.endsWith(u",\\")) value.chop(1);
  return QVariant(value.toUtf8());
}

// One logical line; section is the current key path with '/' separators, empty when the
// file has none (yet) or its last section line was damaged: values there are dropped.
void parseLine(QStringView line, QString& section, Values& map) {
  line = line.trimmed();
  if (line.startsWith(u'[')) {
    section = line.endsWith(u']') ? line.mid(1, line.size() - 2).toString() : QString();
    section.replace(u'\\', u'/');
    return;
  }
  if (section.isEmpty() || !line.startsWith(u'"')) return;  // header, comments, garbage
  qsizetype pos = 0;
  const std::optional<QString> name = unquote(line, pos);
  // A '/' would turn the name into a group of its own.
  if (!name || name->isEmpty() || name->contains(u'/')) return;
  const QStringView rest = line.mid(pos).trimmed();
  if (!rest.startsWith(u'=')) return;
  const std::optional<QVariant> value = parseValue(rest.mid(1).trimmed());
  if (value) map.insert(section + u'/' + *name, *value);  // a later duplicate wins
}

QString valueText(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
      return QStringLiteral("dword:") +
             QString::number(quint32(value.toInt()), 16).rightJustified(8, u'0');
    case QMetaType::QByteArray:
      return QString::fromUtf8(value.toByteArray());
    default:
      return quote(value.toString());
  }
}

}  // namespace

Values read(QByteArrayView bytes) {
  Values map;
  const QString text = decode(bytes);
  QString section;
  QString continued;  // long hex values are wrapped over lines ending in ",\"
  for (QStringView line : QStringView(text).split(u'\n')) {
    line = line.trimmed();
    if (line.endsWith(u",\\")) {
      continued += line.chopped(1);
      continue;
    }
    if (continued.isEmpty()) {
      parseLine(line, section, map);
    } else {
      continued += line;
      parseLine(continued, section, map);
      continued.clear();
    }
  }
  if (!continued.isEmpty()) parseLine(continued, section, map);
  return map;
}

QByteArray write(const Values& map) {
  QMap<QString, QString> sections;  // key path -> its value lines
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    const qsizetype slash = it.key().lastIndexOf(u'/');
    if (slash < 0) continue;  // the store only keeps values inside a key
    sections[it.key().left(slash)] +=
        quote(it.key().mid(slash + 1)) + u'=' + valueText(it.value()) + u'\n';
  }
  QString out = QString::fromUtf16(kHeader) + u'\n';
  for (auto it = sections.cbegin(); it != sections.cend(); ++it)
    out += QStringLiteral("\n[") + QString(it.key()).replace(u'/', u'\\') + QStringLiteral("]\n") +
           it.value();
  return out.toUtf8();
}

}  // namespace regfile
