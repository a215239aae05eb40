#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <optional>

// Reads the frames a WebSocket client sends, in pieces of whatever size they arrive in, and
// puts together the messages they carry. A client must mask every frame, set no reserved bit
// (we agree on no extension) and use the known opcodes; control frames are short and whole;
// lengths take the fewest bytes. Anything else fails the connection with the close code to send.
// It keeps at most one frame's start and one message: a frame or message longer than the limit
// fails as soon as its length is read, before its payload has come.
class FrameReader {
 public:
  struct Message {
    enum Kind { Text, Binary, Ping, Pong, Close };
    Kind kind;
    QByteArray payload;  // unmasked; for Close its code (two bytes) and reason, if any
  };
  struct Failure {
    int code;  // 1002 protocol error, 1007 text that is not UTF-8, 1009 too big
    const char* reason;
  };

  explicit FrameReader(qsizetype maxMessageBytes) : max_(maxMessageBytes) {}

  // Reads `data`, the bytes that came after those read before, and appends each message it
  // completes. After a failure it reads nothing more and returns that failure again.
  std::optional<Failure> read(QByteArrayView data, QList<Message>& messages);

 private:
  // Reads the frame at the start of `data`; `used` stays 0 while it has not wholly arrived.
  std::optional<Failure> frame(QByteArrayView data, qsizetype& used, QList<Message>& messages);

  qsizetype max_;
  QByteArray pending_;  // what has arrived of a frame that is not complete yet
  QByteArray fragments_;
  std::optional<Message::Kind> fragmented_;  // a text or binary message continues
  std::optional<Failure> failed_;
};
