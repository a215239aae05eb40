// libFuzzer target for the frames a WebSocket client sends, as the server reads them. The first
// byte says where the input is cut in two (the rest comes in two pieces, as from two arrivals).
// Whatever the bytes: read whole or in pieces, the reader reads the same messages and fails
// the same way; no message is longer than the limit, no control message longer than 125 bytes,
// every text is UTF-8, and a failure is a protocol error, bad text or too big.
#include <QList>
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>

#include "remote/framereader.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

constexpr qsizetype kLimit = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const qsizetype cut = std::min<qsizetype>(data[0], input.size());

  FrameReader whole(kLimit), pieces(kLimit);
  QList<FrameReader::Message> all, inPieces;
  const auto failure = whole.read(input, all);
  auto failureInPieces = pieces.read(input.left(cut), inPieces);
  if (!failureInPieces) failureInPieces = pieces.read(input.mid(cut), inPieces);

  check(failure.has_value() == failureInPieces.has_value());
  if (failure) {
    check(failure->code == failureInPieces->code);
    check(failure->code == 1002 || failure->code == 1007 || failure->code == 1009);
  }
  check(all.size() == inPieces.size());
  for (qsizetype i = 0; i < all.size(); ++i) {
    const FrameReader::Message& m = all[i];
    check(m.kind == inPieces[i].kind && m.payload == inPieces[i].payload);
    check(m.payload.size() <= kLimit);
    const bool control = m.kind == FrameReader::Message::Ping ||
                         m.kind == FrameReader::Message::Pong ||
                         m.kind == FrameReader::Message::Close;
    check(!control || m.payload.size() <= 125);
    if (m.kind == FrameReader::Message::Text) {
      QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
      const QString text = decoder(m.payload);
      check(!decoder.hasError());
    }
  }
  return 0;
}
