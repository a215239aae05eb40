#pragma once

#include <QList>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

// The listening socket of the remote server. It refuses connections beyond a total and a
// per-address cap, and closes a connection that does not finish a request in time, sends more
// than a request may hold, or sits idle: so slow, half-open or piled-up connections cost the
// board nothing. Connections that became WebSockets are left to the server (release()).
class ConnectionGate : public QTcpServer {
  Q_OBJECT

 public:
  struct Limits {
    int maxConnections = 128;
    int maxPerAddress = 48;
    int requestMs = 10'000;  // from the first byte of a request to its answer
    int idleMs = 30'000;     // between requests on a kept-alive connection
    qint64 maxRequestBytes = 16 * 1024;
  };

  explicit ConnectionGate(const Limits& limits, QObject* parent = nullptr);

  int openConnections();
  // Stops watching the connection from `address`:`port`; it is a WebSocket now.
  void release(const QHostAddress& address, quint16 port);

 protected:
  void incomingConnection(qintptr handle) override;

 private:
  void watch(QTcpSocket* socket);
  int countFrom(const QHostAddress& address);

  Limits limits_;
  QList<QPointer<QTcpSocket>> sockets_;
};
