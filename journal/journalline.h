#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <optional>

// One line of the match journal: the CRC-32 of a compact JSON object in eight hex digits, a
// space, the object, a line feed. The checksum lets a reader tell a torn or damaged line from
// a good one, so a journal cut short by a power cut is read up to its last whole line.
namespace journalline {

quint32 crc32(QByteArrayView bytes);

QByteArray encode(const QJsonObject& object);

// `line` without its line feed. Empty when the checksum, the JSON or the object is wrong.
std::optional<QJsonObject> decode(QByteArrayView line);

}  // namespace journalline
