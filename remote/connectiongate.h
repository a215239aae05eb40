#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <functional>

#include "remote/ratelimit.h"

class QTcpSocket;
class WebSocket;

// The listening socket of the remote server and the keeper of its connection slots.
// Every connection starts as a guest: it counts against a total and a per-address cap. A guest
// beyond the per-address cap is refused (503); when the total is full, the oldest guest of the
// address holding the most guests makes room, so a flood from a few addresses never locks out a
// phone on its own address. A connection that carried a paired device's token becomes a session
// and is never made to make room; sessions have their own, larger cap. WebSockets that only read
// (the overlay) have a small cap of their own, total and per address; a reader connected first
// keeps its slot, and a new one beyond either cap is refused. A reader asked to reconnect keeps
// its slot for its address a few seconds, so the overlay comes back where it was.
// Each connection is timed (a request must be answered in time, a kept-alive connection may idle
// only so long), its request head is checked before the HTTP server reads it (one non-negative
// Content-Length, never with a Transfer-Encoding; "Connection: close" and HTTP/1.0 end the
// connection after the answer), and once it is a WebSocket how often it sends is limited and its
// unread backlog (pushes and pongs alike) is bounded: over either, the connection is dropped.
// The gate answers a WebSocket's opening handshake itself (see WebSocket), so that every frame a
// client sends is checked before anything acts on it.
class ConnectionGate : public QTcpServer {
  Q_OBJECT

 public:
  struct Limits {
    int maxConnections = 128;  // guests: plain HTTP and read-only WebSockets
    int maxPerAddress = 48;
    // New connections per address and second (in bursts of one second's worth); beyond it a
    // connection's request is answered 429 as soon as its head is read (within overRateMs),
    // unless it carries a paired device's token (see setSessionCheck).
    int connectsPerSecond = 20;
    int overRateMs = 2000;
    int requestMs = 10'000;  // from the first byte of a request to its answer
    int idleMs = 30'000;     // between requests on a kept-alive connection
    qint64 maxRequestBytes = 16 * 1024;
    int maxSessions = 96;  // connections of paired devices
    // Of them, one device holds at most this many, so that the others always find room.
    int maxSessionsPerDevice = 16;
    int maxReaders = 16;  // read-only WebSockets
    int maxReadersPerAddress = 4;
    // How often per second data may arrive on a WebSocket (in bursts of one second's worth);
    // each arrival brings at most 1 KiB for a reader, 16 KiB for a session. A page that only
    // answers our pings needs one every ten seconds.
    int readerArrivalsPerSecond = 10;
    int sessionArrivalsPerSecond = 2000;
    // What may wait unread for a client, pushes and pongs alike.
    qint64 maxBacklogBytes = 1 << 20;
    // The longest message a WebSocket may send.
    int maxMessageBytes = 4096;
  };
  enum class Kind { Guest, Reader, Session };

  explicit ConnectionGate(const Limits& limits, QObject* parent = nullptr);

  int openConnections();
  int count(Kind kind);
  // The connection from `address`:`port` is a WebSocket now: its request timer stops and its
  // frames are checked and limited as `kind`'s (Reader or Session). False for a reader beyond
  // the reader caps: it keeps no slot, and the caller closes it.
  bool becameWebSocket(const QHostAddress& address, quint16 port, Kind kind, int device = 0);
  // A reader of `address` is asked to reconnect: its slot waits kReconnectMs for the address.
  void holdReaderSlot(const QHostAddress& address);
  static constexpr int kReconnectMs = 10'000;
  // The connection carried the token of paired device `device`.
  void markSession(QTcpSocket* socket, int device);
  // Decides for a connection beyond its address's connection rate, by the request head's
  // Authorization and Cookie: true lets it through (a paired device's, which counts against that
  // device's own limit), false answers 429.
  using SessionCheck =
      std::function<bool(const QByteArray& authorization, const QByteArray& cookie)>;
  void setSessionCheck(SessionCheck check) { sessionCheck_ = std::move(check); }
  bool admitsOverRate(const QByteArray& authorization, const QByteArray& cookie) const {
    return sessionCheck_ && sessionCheck_(authorization, cookie);
  }
  // Closes every read-only WebSocket (the overlay was locked).
  void dropReaders();
  // The opening handshake of a WebSocket came on `socket`: from now on the HTTP server never
  // reads it, and webSocketRequested() hands it on.
  void takeWebSocket(QTcpSocket* socket, const QByteArray& key, qsizetype headBytes);

 signals:
  // A client asks for a WebSocket; the handshake is not answered yet (WebSocket::accept).
  void webSocketRequested(WebSocket* socket);

 protected:
  void incomingConnection(qintptr handle) override;

 private:
  struct Entry {
    QPointer<QTcpSocket> socket;
    QHostAddress address;
    Kind kind;
    int device = 0;  // a session's paired device
  };
  Entry* find(QTcpSocket* socket);
  void prune();
  int countFrom(const QHostAddress& address, Kind kind);
  // The oldest entry of `kind`, from `address` if given, else from the address that has the most.
  Entry* oldest(Kind kind, const QHostAddress* address);
  void evict(Entry* entry);

  bool mayConnect(const QHostAddress& address);

  Limits limits_;
  QList<Entry> entries_;  // oldest first
  struct Held {
    QHostAddress address;
    quint32 until;
  };
  QList<Held> held_;                    // reader slots waiting for their address to reconnect
  QHash<QString, RateLimit> connects_;  // by address
  SessionCheck sessionCheck_;
};

// What the gate reads in a request head before the server parses it.
struct RequestHead {
  enum class Verdict { Incomplete, Fine, Refuse };
  Verdict verdict = Verdict::Incomplete;
  bool closeAfter = false;           // "Connection: close", or HTTP/1.0 without keep-alive
  int status = 0;                    // when refused: 400, or 426 for /ws without an upgrade
  QByteArray reason;                 // why it is refused
  QByteArray authorization, cookie;  // the headers' values, when it is fine
  // For a WebSocket's opening handshake (GET /ws): its key, and the size of the head, after
  // which its frames begin. Empty for any other request.
  QByteArray webSocketKey;
  qsizetype headBytes = 0;
};
// `data` is what has arrived of a request so far (it may hold more than the head).
RequestHead checkRequestHead(const QByteArray& data);
