#include "remote/websocket.h"

#include <QCryptographicHash>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

WebSocket::WebSocket(QTcpSocket* socket, const QByteArray& head, const QByteArray& key,
                     qsizetype maxMessageBytes)
    : QObject(socket), socket_(socket), key_(key), reader_(maxMessageBytes) {
  const QList<QByteArray> lines = head.trimmed().split('\n');
  const QByteArray target = lines.first().split(' ').value(1);
  const qsizetype question = target.indexOf('?');
  if (question >= 0) query_ = QUrlQuery(QString::fromUtf8(target.mid(question + 1)));
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines[i].indexOf(':');
    if (colon > 0)
      headers_.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
  }
  connect(socket, &QTcpSocket::disconnected, this, [this] {
    emit disconnected();
    if (socket_) socket_->deleteLater();
  });
}

QByteArray WebSocket::acceptKey(const QByteArray& key) {
  return QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                  QCryptographicHash::Sha1)
      .toBase64();
}

QHostAddress WebSocket::peerAddress() const {
  return socket_ ? socket_->peerAddress() : QHostAddress();
}
quint16 WebSocket::peerPort() const { return socket_ ? socket_->peerPort() : 0; }

bool WebSocket::isOpen() const {
  return socket_ && !closing_ && socket_->state() == QAbstractSocket::ConnectedState;
}

qint64 WebSocket::bytesToWrite() const { return socket_ ? socket_->bytesToWrite() : 0; }

void WebSocket::accept() {
  if (!socket_) return;
  socket_->write(
      "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
      "Sec-WebSocket-Accept: " +
      acceptKey(key_) + "\r\n\r\n");
  connect(socket_, &QTcpSocket::readyRead, this, &WebSocket::readFrames);
  if (socket_->bytesAvailable() > 0) QTimer::singleShot(0, this, &WebSocket::readFrames);
}

void WebSocket::readFrames() {
  if (!isOpen()) return;
  QList<FrameReader::Message> messages;
  const auto failure = reader_.read(socket_->readAll(), messages);
  for (const FrameReader::Message& message : messages) {
    if (!isOpen()) return;  // a handler closed it
    switch (message.kind) {
      case FrameReader::Message::Text:
        emit textReceived(QString::fromUtf8(message.payload));
        break;
      case FrameReader::Message::Binary:
        emit binaryReceived();
        break;
      case FrameReader::Message::Ping:
        writeFrame(0xA, message.payload);
        break;
      case FrameReader::Message::Pong:
        emit pong();
        break;
      case FrameReader::Message::Close: {
        // The client's code goes back to it, as the closing handshake asks; one that may not
        // be sent is a protocol error.
        const int code = message.payload.size() >= 2
                             ? qFromBigEndian<quint16>(message.payload.constData())
                             : 1000;
        const bool sendable = code >= 1000 && code < 5000 && code != 1004 && code != 1005 &&
                              code != 1006 && code != 1015;
        return close(sendable ? code : 1002, {});
      }
    }
  }
  if (failure && isOpen()) close(failure->code, QString::fromLatin1(failure->reason));
}

void WebSocket::writeFrame(int opcode, const QByteArray& payload) {
  if (!socket_) return;
  QByteArray frame(1, char(0x80 | opcode));  // a whole message, never masked by a server
  const qsizetype size = payload.size();
  if (size < 126) {
    frame.append(char(size));
  } else if (size <= 0xFFFF) {
    frame.append(char(126));
    frame.append(char(size >> 8)).append(char(size));
  } else {
    frame.append(char(127));
    for (int shift = 56; shift >= 0; shift -= 8) frame.append(char(quint64(size) >> shift));
  }
  socket_->write(frame + payload);
}

void WebSocket::sendText(const QString& text) {
  if (isOpen()) writeFrame(0x1, text.toUtf8());
}

void WebSocket::ping() {
  if (isOpen()) writeFrame(0x9, {});
}

void WebSocket::close(int code, const QString& reason) {
  if (!isOpen()) return;
  QByteArray payload(2, 0);
  qToBigEndian<quint16>(quint16(code), payload.data());
  payload.append(reason.toUtf8().left(123));
  writeFrame(0x8, payload);
  closing_ = true;
  socket_->flush();  // out at once, should the connection be aborted next
  socket_->disconnectFromHost();
}

void WebSocket::abort() {
  if (socket_) socket_->abort();
}
