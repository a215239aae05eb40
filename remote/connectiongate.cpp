#include "remote/connectiongate.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {

// Times one connection: a request must be answered within requestMs of its first byte, and a
// connection waits at most idleMs for its next request.
class ConnectionWatch : public QObject {
 public:
  ConnectionWatch(QTcpSocket* socket, const ConnectionGate::Limits& limits)
      : QObject(socket), socket_(socket), limits_(limits) {
    setObjectName("watch");
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, socket, &QTcpSocket::abort);
    connect(socket, &QTcpSocket::readyRead, this, &ConnectionWatch::received);
    connect(socket, &QTcpSocket::bytesWritten, this, &ConnectionWatch::answered);
    timer_.start(limits_.requestMs);
  }
  void stop() { timer_.stop(); }

 private:
  void received() {
    // Runs before the server reads, so bytesAvailable() holds what just arrived.
    requestBytes_ += socket_->bytesAvailable();
    if (requestBytes_ > limits_.maxRequestBytes) return socket_->abort();
    if (!inRequest_) timer_.start(limits_.requestMs);
    inRequest_ = true;
  }
  void answered() {
    inRequest_ = false;
    requestBytes_ = 0;
    timer_.start(limits_.idleMs);
  }

  QTcpSocket* socket_;
  const ConnectionGate::Limits limits_;
  QTimer timer_;
  bool inRequest_ = false;
  qint64 requestBytes_ = 0;
};

}  // namespace

ConnectionGate::ConnectionGate(const Limits& limits, QObject* parent)
    : QTcpServer(parent), limits_(limits) {}

int ConnectionGate::openConnections() {
  sockets_.removeIf([](const QPointer<QTcpSocket>& s) {
    return !s || s->state() == QAbstractSocket::UnconnectedState;
  });
  return int(sockets_.size());
}

int ConnectionGate::countFrom(const QHostAddress& address) {
  openConnections();
  return int(std::count_if(sockets_.begin(), sockets_.end(),
                           [&](const auto& s) { return s->peerAddress() == address; }));
}

void ConnectionGate::incomingConnection(qintptr handle) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(handle)) return socket->deleteLater();
  if (openConnections() >= limits_.maxConnections ||
      countFrom(socket->peerAddress()) >= limits_.maxPerAddress) {
    socket->write(
        "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
    socket->disconnectFromHost();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(1000, socket, &QObject::deleteLater);
    return;
  }
  sockets_.append(socket);
  new ConnectionWatch(socket, limits_);
  addPendingConnection(socket);
}

void ConnectionGate::release(const QHostAddress& address, quint16 port) {
  for (const QPointer<QTcpSocket>& s : sockets_)
    if (s && s->peerAddress() == address && s->peerPort() == port)
      if (auto* watch = s->findChild<ConnectionWatch*>("watch", Qt::FindDirectChildrenOnly))
        watch->stop();
}
