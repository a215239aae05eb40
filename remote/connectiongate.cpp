#include "remote/connectiongate.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

#include "remote/websocket.h"

namespace {

quint32 monotonicMs() { return quint32(QDeadlineTimer::current().deadline()); }

QByteArray refusal(int status) {
  const QByteArray line =
      status == 426   ? "426 Upgrade Required\r\nUpgrade: websocket\r\nSec-WebSocket-Version: 13"
      : status == 429 ? "429 Too Many Requests\r\nRetry-After: 1"
                      : "400 Bad Request";
  return "HTTP/1.1 " + line + "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
}

// Watches one connection. As plain HTTP: a request must be answered within requestMs of its
// first byte, a connection waits at most idleMs for its next request, and each request head is
// checked before the server reads it. As a WebSocket: what it sends is limited and what waits
// for it unread is bounded. Its slots run before the server's, which connected later.
class ConnectionWatch : public QObject {
 public:
  // `overRate`: its address opened more connections than it may; its request is answered 429
  // unless the gate admits it.
  ConnectionWatch(ConnectionGate& gate, QTcpSocket* socket, const ConnectionGate::Limits& limits,
                  bool overRate)
      : QObject(socket), gate_(gate), socket_(socket), limits_(limits), overRate_(overRate) {
    setObjectName("watch");
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, socket, &QTcpSocket::abort);
    connect(socket, &QTcpSocket::readyRead, this, &ConnectionWatch::received);
    connect(socket, &QTcpSocket::bytesWritten, this, &ConnectionWatch::answered);
    timer_.start(overRate ? limits_.overRateMs : limits_.requestMs);
  }
  void becameWebSocket(ConnectionGate::Kind kind) {
    timer_.stop();
    // The watch counts arrivals, before the WebSocket reads them: each brings at most the read
    // buffer's size, which is small for a reader.
    const bool session = kind == ConnectionGate::Kind::Session;
    socket_->setReadBufferSize(session ? 16 * 1024 : 1024);
    arrivals_.emplace(session ? limits_.sessionArrivalsPerSecond : limits_.readerArrivalsPerSecond,
                      monotonicMs());
  }

 private:
  void received() {
    if (!socket_->isOpen()) return;
    if (refused_) {
      socket_->readAll();  // the server never sees what follows a refused head
      return;
    }
    if (arrivals_) {
      // A client that sends too often, or lets our pushes and pongs pile up, is dropped.
      if (!arrivals_->take(monotonicMs()) || socket_->bytesToWrite() > limits_.maxBacklogBytes)
        socket_->abort();
      return;
    }
    // Runs before the server reads, so bytesAvailable() holds what just arrived.
    const qint64 arrived = socket_->bytesAvailable();
    requestBytes_ += arrived;
    if (requestBytes_ > limits_.maxRequestBytes) return socket_->abort();
    if (!inRequest_) timer_.start(limits_.requestMs);
    inRequest_ = true;
    if (headChecked_) return;
    // A head may come in pieces, of which the server has read the earlier ones.
    head_ += socket_->peek(arrived);
    const RequestHead head = checkRequestHead(head_);
    if (head.verdict == RequestHead::Verdict::Incomplete) return;
    if (head.verdict == RequestHead::Verdict::Refuse) return refuse(head.status);
    if (std::exchange(overRate_, false) && !gate_.admitsOverRate(head.authorization, head.cookie))
      return refuse(429);
    headChecked_ = true;
    closeAfter_ = head.closeAfter;
    if (!head.webSocketKey.isEmpty()) {
      // Until the server knows who it is, a WebSocket may send as little as a reader.
      becameWebSocket(ConnectionGate::Kind::Reader);
      gate_.takeWebSocket(socket_, head.webSocketKey, head.headBytes);
    }
  }
  // Answers `status` in place of the server, which never sees the request, and closes.
  void refuse(int status) {
    refused_ = true;
    socket_->readAll();
    socket_->write(refusal(status));
    socket_->disconnectFromHost();
  }
  void answered() {
    if (arrivals_ || refused_) return;
    inRequest_ = false;
    headChecked_ = false;
    head_.clear();
    requestBytes_ = 0;
    if (closeAfter_) return socket_->disconnectFromHost();  // once the answer is out
    timer_.start(limits_.idleMs);
  }

  ConnectionGate& gate_;
  QTcpSocket* socket_;
  const ConnectionGate::Limits limits_;
  QTimer timer_;
  bool inRequest_ = false;
  bool headChecked_ = false;
  bool closeAfter_ = false;
  bool refused_ = false;
  bool overRate_;
  qint64 requestBytes_ = 0;
  QByteArray head_;                    // of the request under way, until it is checked
  std::optional<RateLimit> arrivals_;  // as a WebSocket
};

bool allDigits(const QByteArray& s) {
  return !s.isEmpty() &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

RequestHead checkRequestHead(const QByteArray& data) {
  const qsizetype end = data.indexOf("\r\n\r\n");
  if (end < 0) return {};
  auto refuse = [](const char* reason, int status = 400) {
    return RequestHead{RequestHead::Verdict::Refuse, true, status, reason, {}, {}, {}, 0};
  };
  const QList<QByteArray> lines = data.left(end).split('\n');
  const QList<QByteArray> request = lines.first().trimmed().split(' ');
  if (request.size() != 3) return refuse("bad request line");
  const QByteArray& version = request[2];
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return refuse("unknown HTTP version");
  int contentLengths = 0;
  bool transferEncoding = false, host = false, upgrade = false, close = false, keepAlive = false,
       connectionUpgrade = false;
  QByteArray webSocketKey, webSocketVersion, authorization, cookie;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    if (line.startsWith(' ') || line.startsWith('\t')) return refuse("folded header");
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) return refuse("bad header");
    const QByteArray name = line.left(colon).toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "content-length") {
      if (++contentLengths > 1) return refuse("more than one Content-Length");
      if (!allDigits(value)) return refuse("bad Content-Length");
    } else if (name == "transfer-encoding") {
      transferEncoding = true;
    } else if (name == "host") {
      host = true;
    } else if (name == "upgrade") {
      upgrade = value.toLower().contains("websocket");
    } else if (name == "connection") {
      for (const QByteArray& token : value.toLower().split(',')) {
        close = close || token.trimmed() == "close";
        keepAlive = keepAlive || token.trimmed() == "keep-alive";
        connectionUpgrade = connectionUpgrade || token.trimmed() == "upgrade";
      }
    } else if (name == "authorization") {
      authorization = value;
    } else if (name == "cookie") {
      cookie = value;
    } else if (name == "sec-websocket-key") {
      webSocketKey = value;
    } else if (name == "sec-websocket-version") {
      webSocketVersion = value;
    }
  }
  if (contentLengths > 0 && transferEncoding)
    return refuse("Content-Length together with Transfer-Encoding");
  if (version == "HTTP/1.1" && !host) return refuse("no Host");
  const QByteArray path = request[1].split('?').first();
  if (request[0] != "GET" || path != "/ws")
    return {RequestHead::Verdict::Fine,
            close || (version == "HTTP/1.0" && !keepAlive),
            0,
            {},
            authorization,
            cookie,
            {},
            0};
  if (!upgrade) return refuse("no upgrade", 426);
  // The opening handshake of a WebSocket, which the gate answers itself.
  if (version != "HTTP/1.1" || !connectionUpgrade) return refuse("bad upgrade");
  if (webSocketVersion != "13") return refuse("unknown WebSocket version", 426);
  const auto key =
      QByteArray::fromBase64Encoding(webSocketKey, QByteArray::AbortOnBase64DecodingErrors);
  if (!key || key.decoded.size() != 16) return refuse("bad WebSocket key");
  return {RequestHead::Verdict::Fine, false, 0, {}, authorization, cookie, webSocketKey, end + 4};
}

ConnectionGate::ConnectionGate(const Limits& limits, QObject* parent)
    : QTcpServer(parent), limits_(limits) {}

void ConnectionGate::prune() {
  entries_.removeIf([](const Entry& e) {
    return !e.socket || e.socket->state() == QAbstractSocket::UnconnectedState;
  });
}

int ConnectionGate::openConnections() {
  prune();
  return int(entries_.size());
}

int ConnectionGate::count(Kind kind) {
  prune();
  return int(std::count_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.kind == kind; }));
}

int ConnectionGate::countFrom(const QHostAddress& address, Kind kind) {
  return int(std::count_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.kind == kind && e.address == address; }));
}

ConnectionGate::Entry* ConnectionGate::find(QTcpSocket* socket) {
  for (Entry& e : entries_)
    if (e.socket == socket) return &e;
  return nullptr;
}

ConnectionGate::Entry* ConnectionGate::oldest(Kind kind, const QHostAddress* address) {
  QHostAddress busiest;
  if (!address) {
    QHash<QString, int> counts;
    int most = 0;
    for (const Entry& e : entries_)
      if (e.kind == kind) {
        const int n = ++counts[e.address.toString()];
        if (n > most) {
          most = n;
          busiest = e.address;
        }
      }
    address = &busiest;
  }
  for (Entry& e : entries_)  // in the order they came
    if (e.kind == kind && e.address == *address) return &e;
  return nullptr;
}

void ConnectionGate::evict(Entry* entry) {
  if (!entry) return;
  QTcpSocket* socket = entry->socket;
  entries_.removeIf([socket](const Entry& e) { return e.socket == socket; });
  if (socket) socket->abort();
}

bool ConnectionGate::mayConnect(const QHostAddress& address) {
  const quint32 now = monotonicMs();
  if (connects_.size() > 4096) connects_.clear();
  auto limit = connects_.find(address.toString());
  if (limit == connects_.end())
    limit = connects_.insert(address.toString(), RateLimit(limits_.connectsPerSecond, now));
  return limit->take(now);
}

void ConnectionGate::incomingConnection(qintptr handle) {
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(handle)) return socket->deleteLater();
  prune();
  const QHostAddress address = socket->peerAddress();
  const bool overRate = !mayConnect(address);
  const int guests = countFrom(address, Kind::Guest) + countFrom(address, Kind::Reader);
  if (guests >= limits_.maxPerAddress) {
    socket->write(
        "HTTP/1.1 503 Service Unavailable\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
    socket->disconnectFromHost();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(1000, socket, &QObject::deleteLater);
    return;
  }
  // A full house: the oldest plain connection of the busiest address goes, else its oldest reader.
  while (count(Kind::Guest) + count(Kind::Reader) >= limits_.maxConnections) {
    Entry* victim = oldest(Kind::Guest, nullptr);
    if (!victim) victim = oldest(Kind::Reader, nullptr);
    if (!victim) break;
    evict(victim);
  }
  // Qt reads no more than this per turn of the event loop, so a flood is handled in small bites.
  socket->setReadBufferSize(64 * 1024);
  entries_.append({socket, address, Kind::Guest});
  new ConnectionWatch(*this, socket, limits_, overRate);
  addPendingConnection(socket);
}

void ConnectionGate::markSession(QTcpSocket* socket, int device) {
  Entry* entry = find(socket);
  if (!entry || entry->kind == Kind::Session) return;
  const auto ofDevice = std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.kind == Kind::Session && e.device == device;
  });
  // Beyond either cap it stays a guest.
  if (count(Kind::Session) >= limits_.maxSessions || ofDevice >= limits_.maxSessionsPerDevice)
    return;
  entry->kind = Kind::Session;
  entry->device = device;
}

bool ConnectionGate::becameWebSocket(const QHostAddress& address, quint16 port, Kind kind,
                                     int device) {
  prune();
  Entry* entry = nullptr;
  for (Entry& e : entries_)
    if (e.socket && e.address == address && e.socket->peerPort() == port) entry = &e;
  if (!entry) return false;
  QTcpSocket* socket = entry->socket;
  if (kind == Kind::Session) {
    markSession(socket, device);
  } else if (entry->kind == Kind::Guest) {
    const quint32 now = monotonicMs();
    held_.removeIf([now](const Held& h) { return qint32(now - h.until) >= 0; });
    const auto own = std::find_if(held_.begin(), held_.end(),
                                  [&](const Held& h) { return h.address == address; });
    if (own != held_.end()) {
      held_.erase(own);  // its own slot, back again
    } else if (countFrom(address, Kind::Reader) >= limits_.maxReadersPerAddress ||
               count(Kind::Reader) + held_.size() >= limits_.maxReaders) {
      return false;
    }
    entry->kind = Kind::Reader;
  }
  if (auto* watch = socket->findChild<ConnectionWatch*>("watch", Qt::FindDirectChildrenOnly))
    watch->becameWebSocket(kind);
  return true;
}

void ConnectionGate::holdReaderSlot(const QHostAddress& address) {
  held_.append({address, monotonicMs() + quint32(kReconnectMs)});
}

void ConnectionGate::takeWebSocket(QTcpSocket* socket, const QByteArray& key, qsizetype headBytes) {
  // The HTTP server (the gate's parent) reads the connection no more; a request head it has
  // begun to read comes back to be read here.
  QObject::disconnect(socket, &QTcpSocket::readyRead, parent(), nullptr);
  if (socket->isTransactionStarted()) socket->rollbackTransaction();
  const QByteArray head = socket->read(headBytes);
  emit webSocketRequested(new WebSocket(socket, head, key, limits_.maxMessageBytes));
}

void ConnectionGate::dropReaders() {
  prune();
  QList<QPointer<QTcpSocket>> readers;
  for (const Entry& e : entries_)
    if (e.kind == Kind::Reader) readers.append(e.socket);
  for (const auto& socket : readers)
    if (socket) socket->abort();
  prune();
}
