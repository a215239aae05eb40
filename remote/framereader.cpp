#include "remote/framereader.h"

#include <QStringDecoder>

namespace {

constexpr FrameReader::Failure kUnmasked{1002, "unmasked frame"};

bool isUtf8(const QByteArray& text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = decoder(text);
  return !decoder.hasError();
}

quint64 bigEndian(const uchar* bytes, int count) {
  quint64 value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | bytes[i];
  return value;
}

}  // namespace

std::optional<FrameReader::Failure> FrameReader::read(QByteArrayView data,
                                                      QList<Message>& messages) {
  if (failed_) return failed_;
  pending_.append(data);
  qsizetype start = 0;
  while (!failed_) {
    qsizetype used = 0;
    failed_ = frame(QByteArrayView(pending_).sliced(start), used, messages);
    if (used == 0) break;
    start += used;
  }
  if (failed_) {
    pending_.clear();
    fragments_.clear();
    return failed_;
  }
  pending_.remove(0, start);
  return std::nullopt;
}

std::optional<FrameReader::Failure> FrameReader::frame(QByteArrayView data, qsizetype& used,
                                                       QList<Message>& messages) {
  used = 0;
  if (data.size() < 2) return std::nullopt;
  const auto* bytes = reinterpret_cast<const uchar*>(data.data());
  const bool fin = bytes[0] & 0x80;
  const int opcode = bytes[0] & 0x0F;
  const bool control = opcode & 0x08;
  if (bytes[0] & 0x70) return Failure{1002, "reserved bit set"};
  if (!(opcode <= 2 || (opcode >= 8 && opcode <= 10))) return Failure{1002, "unknown opcode"};
  if (!(bytes[1] & 0x80)) return kUnmasked;
  quint64 length = bytes[1] & 0x7F;
  if (control && (length > 125 || !fin)) return Failure{1002, "bad control frame"};
  const int lengthBytes = length == 126 ? 2 : length == 127 ? 8 : 0;
  const qsizetype header = 2 + lengthBytes + 4;
  if (data.size() < 2 + lengthBytes) return std::nullopt;
  if (lengthBytes) {
    length = bigEndian(bytes + 2, lengthBytes);
    if (length < (lengthBytes == 2 ? 126u : 0x10000u))
      return Failure{1002, "length not in the fewest bytes"};
  }
  if (length > quint64(max_)) return Failure{1009, "frame too big"};
  const bool continues = opcode == 0;
  if (!control) {
    if (continues != fragmented_.has_value()) return Failure{1002, "bad fragment"};
    if (quint64(fragments_.size()) + length > quint64(max_))
      return Failure{1009, "message too big"};
  }
  if (quint64(data.size()) < header + length) return std::nullopt;

  QByteArray payload = data.sliced(header, qsizetype(length)).toByteArray();
  const uchar* mask = bytes + 2 + lengthBytes;
  for (qsizetype i = 0; i < payload.size(); ++i) payload[i] = char(payload[i] ^ mask[i % 4]);
  used = header + qsizetype(length);

  if (control) {
    if (opcode == 8 && payload.size() == 1) return Failure{1002, "bad close frame"};
    const Message::Kind kind = opcode == 8   ? Message::Close
                               : opcode == 9 ? Message::Ping
                                             : Message::Pong;
    messages.append({kind, payload});
    return std::nullopt;
  }
  if (!continues) fragmented_ = opcode == 1 ? Message::Text : Message::Binary;
  fragments_.append(payload);
  if (!fin) return std::nullopt;
  const Message::Kind kind = *fragmented_;
  fragmented_.reset();
  if (kind == Message::Text && !isUtf8(fragments_)) return Failure{1007, "text is not UTF-8"};
  messages.append({kind, std::exchange(fragments_, {})});
  return std::nullopt;
}
