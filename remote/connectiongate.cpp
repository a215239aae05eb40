#include "remote/connectiongate.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {

// Times one connection: a request must be answered within kRequestMs of its first byte, and a
// connection waits at most kIdleMs for its next request.
class ConnectionWatch : public QObject {
 public:
  explicit ConnectionWatch(QTcpSocket* socket) : QObject(socket), socket_(socket) {
    setObjectName("watch");
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, socket, &QTcpSocket::abort);
    connect(socket, &QTcpSocket::readyRead, this, &ConnectionWatch::received);
    connect(socket, &QTcpSocket::bytesWritten, this, &ConnectionWatch::answered);
    timer_.start(ConnectionGate::kRequestMs);
  }
  void stop() { timer_.stop(); }

 private:
  void received() {
    // Runs before the server reads, so bytesAvailable() holds what just arrived.
    requestBytes_ += socket_->bytesAvailable();
    if (requestBytes_ > ConnectionGate::kMaxRequestBytes) return socket_->abort();
    if (!inRequest_) timer_.start(ConnectionGate::kRequestMs);
    inRequest_ = true;
  }
  void answered() {
    inRequest_ = false;
    requestBytes_ = 0;
    timer_.start(ConnectionGate::kIdleMs);
  }

  QTcpSocket* socket_;
  QTimer timer_;
  bool inRequest_ = false;
  qint64 requestBytes_ = 0;
};

}  // namespace

ConnectionGate::ConnectionGate(QObject* parent) : QTcpServer(parent) {}

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
  if (openConnections() >= kMaxConnections ||
      countFrom(socket->peerAddress()) >= kMaxPerAddress) {
    socket->write(
        "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
    socket->disconnectFromHost();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(1000, socket, &QObject::deleteLater);
    return;
  }
  sockets_.append(socket);
  new ConnectionWatch(socket);
  addPendingConnection(socket);
}

void ConnectionGate::release(const QHostAddress& address, quint16 port) {
  for (const QPointer<QTcpSocket>& s : sockets_)
    if (s && s->peerAddress() == address && s->peerPort() == port)
      if (auto* watch = s->findChild<ConnectionWatch*>("watch", Qt::FindDirectChildrenOnly))
        watch->stop();
}
