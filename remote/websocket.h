#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QUrlQuery>

#include "remote/framereader.h"

class QTcpSocket;

// The server's side of one WebSocket, on the connection whose opening handshake the connection
// gate took from the HTTP server. The frames the client sends are read here and nowhere else, so
// each is checked before its message is passed on (FrameReader: an unmasked frame, a reserved
// bit, an unknown opcode, a bad control frame fail the connection with close code 1002).
// Pings are answered here; the messages, pongs and the end of the connection are signalled.
// It lives as long as its socket, whose child it is.
class WebSocket : public QObject {
  Q_OBJECT

 public:
  // `head` is the request head up to its empty line; `key` its Sec-WebSocket-Key.
  WebSocket(QTcpSocket* socket, const QByteArray& head, const QByteArray& key,
            qsizetype maxMessageBytes);

  // A request header's value by its name in lower case.
  QByteArray header(const QByteArray& name) const { return headers_.value(name); }
  QUrlQuery query() const { return query_; }
  QHostAddress peerAddress() const;
  quint16 peerPort() const;
  bool isOpen() const;
  qint64 bytesToWrite() const;

  // Completes the handshake: from now on frames are read. Frames that came with the request
  // are read once the event loop comes round.
  void accept();
  void sendText(const QString& text);
  void ping();
  // Sends a close frame and ends the connection once what waits to be written is out.
  void close(int code, const QString& reason);
  void abort();

  // The value of Sec-WebSocket-Accept for a client's key.
  static QByteArray acceptKey(const QByteArray& key);

 signals:
  void textReceived(const QString& text);
  void binaryReceived();
  void pong();
  void disconnected();

 private:
  void readFrames();
  void writeFrame(int opcode, const QByteArray& payload);

  QPointer<QTcpSocket> socket_;
  QByteArray key_;
  QHash<QByteArray, QByteArray> headers_;
  QUrlQuery query_;
  FrameReader reader_;
  bool closing_ = false;
};
