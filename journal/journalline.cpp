#include "journal/journalline.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <array>

namespace journalline {

namespace {

constexpr qsizetype kChecksumDigits = 8;

constexpr std::array<quint32, 256> makeCrcTable() {
  std::array<quint32, 256> table{};
  for (quint32 n = 0; n < 256; ++n) {
    quint32 c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<quint32, 256> kCrcTable = makeCrcTable();

}  // namespace

quint32 crc32(QByteArrayView bytes) {
  quint32 c = 0xFFFFFFFFu;
  for (char byte : bytes) c = kCrcTable[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

QByteArray encode(const QJsonObject& object) {
  const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
  QByteArray line = QByteArray::number(crc32(json), 16).rightJustified(kChecksumDigits, '0');
  line += ' ';
  line += json;
  line += '\n';
  return line;
}

std::optional<QJsonObject> decode(QByteArrayView line) {
  if (line.size() < kChecksumDigits + 3 || line[kChecksumDigits] != ' ') return std::nullopt;
  bool hex = false;
  const quint32 expected = line.first(kChecksumDigits).toByteArray().toUInt(&hex, 16);
  const QByteArrayView json = line.sliced(kChecksumDigits + 1);
  if (!hex || crc32(json) != expected) return std::nullopt;
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  return document.object();
}

}  // namespace journalline
