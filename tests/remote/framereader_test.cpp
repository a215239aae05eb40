#include "remote/framereader.h"

#include <gtest/gtest.h>

namespace {

// A frame as a client sends it: `first` is the FIN/reserved/opcode byte; masked unless told.
QByteArray frame(int first, const QByteArray& payload, bool masked = true) {
  QByteArray out(1, char(first));
  const qsizetype size = payload.size();
  const char maskBit = masked ? char(0x80) : 0;
  if (size < 126) {
    out.append(char(maskBit | size));
  } else {
    out.append(char(maskBit | 126)).append(char(size >> 8)).append(char(size));
  }
  if (!masked) return out + payload;
  const QByteArray mask("\x12\x34\x56\x78", 4);
  out.append(mask);
  for (qsizetype i = 0; i < size; ++i) out.append(char(payload[i] ^ mask[i % 4]));
  return out;
}

QByteArray text(const QByteArray& payload) { return frame(0x81, payload); }

}  // namespace

TEST(FrameReader, ChecksEveryFrameAndPutsMessagesTogether) {
  using Kind = FrameReader::Message::Kind;
  // A 16-bit length where one byte would do: 126, then 0x007D.
  const QByteArray longLength = QByteArray("\x81\xFE\x00\x7D", 4) + QByteArray(4 + 125, 'x');
  struct Row {
    const char* name;
    QByteArray bytes;
    QList<Kind> kinds;   // of the messages read before any failure
    QByteArray payload;  // of the last message
    int failure;         // close code, 0 for none
  } rows[] = {
      {"masked text", text(R"({"cmd":"goal"})"), {Kind::Text}, R"({"cmd":"goal"})", 0},
      {"two in one piece", text("a") + text("bc"), {Kind::Text, Kind::Text}, "bc", 0},
      {"16-bit length", text(QByteArray(300, 'y')), {Kind::Text}, QByteArray(300, 'y'), 0},
      {"fragments",
       frame(0x01, "ab") + frame(0x89, "p") + frame(0x80, "cd"),
       {Kind::Ping, Kind::Text},
       "abcd",
       0},
      {"close",
       frame(0x88, QByteArray("\x03\xE8", 2)),
       {Kind::Close},
       QByteArray("\x03\xE8", 2),
       0},
      {"unmasked", frame(0x81, "x", false), {}, {}, 1002},
      {"unmasked after a good one", text("a") + frame(0x81, "b", false), {Kind::Text}, "a", 1002},
      {"reserved bit", frame(0xC1, "x"), {}, {}, 1002},
      {"unknown opcode", frame(0x83, "x"), {}, {}, 1002},
      {"long control frame", frame(0x89, QByteArray(126, 'p')), {}, {}, 1002},
      {"fragmented control frame", frame(0x09, "p"), {}, {}, 1002},
      {"continuation without a start", frame(0x80, "x"), {}, {}, 1002},
      {"new message amid fragments", frame(0x01, "a") + text("b"), {}, {}, 1002},
      {"length in too many bytes", longLength, {}, {}, 1002},
      {"one-byte close", frame(0x88, "x"), {}, {}, 1002},
      {"text that is not UTF-8", text("\xC3\x28"), {}, {}, 1007},
      // Refused from its header: 1 GiB announced, none of it sent.
      {"frame over the limit", QByteArray("\x81\xFF\0\0\0\0\x40\0\0\0", 10), {}, {}, 1009},
      {"message over the limit",
       frame(0x01, QByteArray(600, 'a')) + frame(0x80, QByteArray(600, 'b')),
       {},
       {},
       1009},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // Whole, and one byte at a time: the result may not depend on how the bytes arrive.
    for (const bool byByte : {false, true}) {
      FrameReader reader(1024);
      QList<FrameReader::Message> messages;
      std::optional<FrameReader::Failure> failure;
      if (byByte) {
        for (qsizetype i = 0; i < row.bytes.size() && !failure; ++i)
          failure = reader.read(row.bytes.sliced(i, 1), messages);
      } else {
        failure = reader.read(row.bytes, messages);
      }
      EXPECT_EQ(failure ? failure->code : 0, row.failure) << byByte;
      QList<Kind> kinds;
      for (const auto& m : messages) kinds.append(m.kind);
      EXPECT_EQ(kinds, row.kinds) << byByte;
      if (!messages.isEmpty()) {
        EXPECT_EQ(messages.last().payload, row.payload) << byByte;
      }
      // After a failure the reader takes nothing more.
      if (failure) {
        EXPECT_TRUE(reader.read(text("later"), messages).has_value());
      }
    }
  }
}
