#pragma once

// The built-in web server of the remote control and of the stream overlay.
// It serves the phone page "/", the overlay "/overlay", the board's state "GET /api/state",
// pairing "POST /api/pair", commands "POST /api/command", and a WebSocket "/ws" that pushes the
// state after every change and takes the same commands. It runs on the thread that creates it,
// in that thread's event loop; nothing in it waits.
// Who may do what: a paired device (Pairing: PIN for a session token) may read and command;
// everybody else may only read, and only while the overlay is open or with the overlay token.
// The board behind it (RemoteBoard) formats the state and runs the commands; the server checks
// every message (parseRemoteCommand), limits its rate per paired device (RateLimit) and keeps
// the connection slots (ConnectionGate). The running-text list travels only when it changed:
// every state carries "text.linesVersion", and "text.lines" comes to a page only with a version it
// does not have yet (GET /api/state sends it with ?lines=1 or a different ?linesVersion=).

#include <QColor>
#include <QHash>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QTimer>
#include <deque>
#include <memory>

#include "remote/connectiongate.h"
#include "remote/pairing.h"
#include "remote/ratelimit.h"

class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponse;
class QTcpSocket;
class WebSocket;
class RemoteBoard;
class TickCounter;

class RemoteServer : public QObject {
  Q_OBJECT

 public:
  static constexpr quint16 kDefaultPort = 8440;
  // Per paired device, over all its WebSockets and POSTs together.
  static constexpr int kCommandsPerSecond = 1000;
  // GET /api/state without a session, per address.
  static constexpr int kOpenReadsPerSecond = 10;
  static constexpr int kPingMs = 10'000;
  // A WebSocket that answers no ping for this long is taken as gone.
  static constexpr int kSilentMs = 25'000;
  // A read-only WebSocket is asked to reconnect after this long, so a slot held by a reader
  // that does nothing but answer pings comes free; the overlay reconnects at once.
  static constexpr int kReaderLifetimeMs = 30 * 60'000;
  static constexpr int kReconnectCode = 4408;
  // A reader beyond the readers' slots: try again later.
  static constexpr int kTryAgainCode = 4429;
  // A client that lets this much of our pushes and pongs pile up unread is dropped.
  static constexpr qint64 kMaxBacklogBytes = 1 << 20;
  static constexpr const char* kSessionCookie = "scorvex_session";
  // The paired devices' WebSocket commands wait in one queue and run for at most this long per
  // turn of the event loop, so the display's repaint and the match's tick get their turn between
  // them however fast a phone sends.
  static constexpr int kCommandSliceMs = 4;

  RemoteServer(RemoteBoard& board, TickCounter& tick, QObject* parent = nullptr);
  // Caps and time-outs of the connections; they take effect at the next start.
  void setConnectionLimits(const ConnectionGate::Limits& limits) { limits_ = limits; }
  ~RemoteServer() override;

  // Listens with a new PIN; port 0 takes any free one. False when it cannot listen;
  // errorString() then says why.
  bool start(const QHostAddress& address, quint16 port);
  // The first port from `from` on (at most 100 further) that `address` can listen on, or 0.
  static quint16 nextFreePort(const QHostAddress& address, quint16 from);
  void stop();
  bool isRunning() const;
  quint16 port() const;
  QString errorString() const { return error_; }
  QString pin() const;
  QList<Pairing::Device> devices() const;
  // Addresses that sent wrong PINs (since their last right one), and the read-only WebSockets
  // (overlays and board pages) connected now; readersChanged() tells when the latter changes.
  int guessingAddresses() const;
  int readers() const;
  // Unpairs the device and closes its connections.
  void dropDevice(int id);
  // Empty: the overlay and the state are open to everybody on the network; otherwise reading
  // needs this token (or a paired device's). A new token closes the readers connected before.
  void setOverlayToken(const QByteArray& token);
  const QByteArray& overlayToken() const { return overlayToken_; }
  // The teams' colours in the overlay; every state carries them as "overlay.teamColors".
  void setTeamColors(const QColor& home, const QColor& guest);

 public slots:
  // The board's state changed; every connected page gets it once the event loop comes round.
  void boardChanged();

 signals:
  void devicesChanged();
  void readersChanged();

 private:
  struct Client;
  enum class Access { None, Read, Command };

  void addRoutes();
  QHttpServerResponse pair(const QHttpServerRequest& request);
  QHttpServerResponse command(const QHttpServerRequest& request, QTcpSocket* socket);
  QHttpServerResponse state(const QHttpServerRequest& request, QTcpSocket* socket);
  // The board's state without the running-text list, which it keeps (see linesVersion_).
  QJsonObject currentState();
  QJsonObject withLines(QJsonObject state) const;
  bool takeCommand(int device);
  void dropReaders();
  QHttpServerResponse overlayPage(const QHttpServerRequest& request);
  Access accessOf(const QByteArray& token, const QByteArray& readToken, int* device) const;
  void acceptWebSocket(WebSocket* socket);
  void received(Client& client, const QString& message);
  void runQueued();
  void run(Client& client, const QString& message);
  void push();
  void pingAll();
  void closeClient(Client& client, int code, const QString& reason);
  Client* clientOf(WebSocket* socket);

  RemoteBoard& board_;
  TickCounter& tick_;
  std::unique_ptr<QHttpServer> http_;
  ConnectionGate* gate_ = nullptr;  // owned by http_
  std::unique_ptr<Pairing> pairing_;
  QList<std::shared_ptr<Client>> clients_;
  struct Queued {
    std::weak_ptr<Client> client;
    QString message;
  };
  std::deque<Queued> queued_;
  QTimer queueTimer_;
  QHash<int, RateLimit> commandLimits_;   // by paired device
  QHash<QString, RateLimit> readLimits_;  // by the sender's address
  QStringList ownNames_;
  QJsonArray teamColors_{"#b42828", "#1e5aa0"};
  QJsonArray lines_;
  int linesVersion_ = 0;
  QByteArray overlayToken_;
  ConnectionGate::Limits limits_;
  QTimer pushTimer_;
  QTimer pingTimer_;
  QString error_;
};
