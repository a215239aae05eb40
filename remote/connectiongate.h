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
  static constexpr int kMaxConnections = 128;
  static constexpr int kMaxPerAddress = 48;
  static constexpr int kRequestMs = 10'000;   // from the first byte of a request to its answer
  static constexpr int kIdleMs = 30'000;      // between requests on a kept-alive connection
  static constexpr int kMaxRequestBytes = 16 * 1024;

  explicit ConnectionGate(QObject* parent = nullptr);

  int openConnections();
  // Stops watching the connection from `address`:`port`; it is a WebSocket now.
  void release(const QHostAddress& address, quint16 port);

 protected:
  void incomingConnection(qintptr handle) override;

 private:
  void watch(QTcpSocket* socket);
  int countFrom(const QHostAddress& address);

  QList<QPointer<QTcpSocket>> sockets_;
};
