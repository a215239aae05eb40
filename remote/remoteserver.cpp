#include "remote/remoteserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHttpServer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTcpSocket>

#include "platform/os/tickcounter.h"
#include "remote/connectiongate.h"
#include "remote/pairrequest.h"
#include "remote/remoteboard.h"
#include "remote/websocket.h"

using Status = QHttpServerResponder::StatusCode;

struct RemoteServer::Client {
  WebSocket* socket;
  Access access;
  int device;  // the paired device, or 0
  quint32 lastHeard;
  quint32 since;
  int linesVersion = -1;  // of the running-text list it has
};

namespace {

QHttpServerResponse json(const QJsonObject& body, Status status = Status::Ok) {
  QHttpServerResponse response(body, status);
  response.addHeader("Cache-Control", "no-store");
  return response;
}

QHttpServerResponse error(Status status, const QString& message) {
  return json({{"error", message}}, status);
}

// The pages and their scripts; nothing else is ever read from disk or resources.
QHttpServerResponse resource(const QString& name, const QByteArray& mimeType) {
  QFile file(":/remote/" + name);
  if (!file.open(QIODevice::ReadOnly)) return QHttpServerResponse(Status::NotFound);
  QHttpServerResponse response(mimeType, file.readAll());
  response.addHeader("Content-Security-Policy",
                     "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data:");
  response.addHeader("X-Content-Type-Options", "nosniff");
  response.addHeader("Referrer-Policy", "no-referrer");
  return response;
}

QByteArray cookieValue(const QByteArray& header, const QByteArray& name) {
  for (const QByteArray& part : header.split(';')) {
    const QByteArray item = part.trimmed();
    if (item.startsWith(name + '=')) return item.mid(name.size() + 1);
  }
  return {};
}

// The session token from "Authorization: Bearer …" (scripts) or the session cookie (pages).
QByteArray sessionToken(const QByteArray& authorization, const QByteArray& cookies) {
  const QByteArray scheme = authorization.trimmed().left(7);
  if (scheme.size() == 7 && scheme.toLower() == "bearer ")
    return authorization.trimmed().mid(7).trimmed();
  return cookieValue(cookies, RemoteServer::kSessionCookie);
}

// A browser names the page a request comes from; it must be one of ours, so a page elsewhere
// cannot use a phone's session. Scripts send no origin.
bool sameOrigin(const QByteArray& origin, const QByteArray& host) {
  return origin.isEmpty() || origin == "http://" + host;
}

// Writes `response` with the responder a route was given.
auto answer(QHttpServerResponse response) {
  return [r = std::move(response)](QHttpServerResponder&& responder) mutable {
    r.write(std::move(responder));
  };
}

bool isJson(const QHttpServerRequest& request) {
  return request.value("content-type").split(';').first().trimmed().toLower() == "application/json";
}

QString messageOf(const QJsonObject& object) {
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

}  // namespace

RemoteServer::RemoteServer(RemoteBoard& board, TickCounter& tick, QObject* parent)
    : QObject(parent), board_(board), tick_(tick) {
  Q_INIT_RESOURCE(remote);  // the pages live in this static library
  pushTimer_.setSingleShot(true);
  connect(&pushTimer_, &QTimer::timeout, this, &RemoteServer::push);
  connect(&pingTimer_, &QTimer::timeout, this, &RemoteServer::pingAll);
  queueTimer_.setSingleShot(true);
  connect(&queueTimer_, &QTimer::timeout, this, &RemoteServer::runQueued);
}

RemoteServer::~RemoteServer() { stop(); }

bool RemoteServer::start(const QHostAddress& address, quint16 port) {
  stop();
  http_ = std::make_unique<QHttpServer>();
  ConnectionGate::Limits limits = limits_;
  limits.maxMessageBytes = kMaxCommandBytes;
  gate_ = new ConnectionGate(limits, http_.get());
  // Room for a burst of connections the gate turns away, so that a phone's connection waits in
  // the queue instead of being dropped by the system (and retried only a second later).
  gate_->setListenBacklogSize(1024);
  gate_->setMaxPendingConnections(256);
  if (!gate_->listen(address, port)) {
    error_ = gate_->serverError() == QAbstractSocket::AddressInUseError
                 ? tr("Port %1 ist schon belegt: ein anderes Programm nutzt ihn.").arg(port)
                 : tr("Port %1 lässt sich nicht öffnen: %2").arg(port).arg(gate_->errorString());
    http_.reset();
    gate_ = nullptr;
    return false;
  }
  http_->bind(gate_);
  pairing_ = std::make_unique<Pairing>(Pairing::newPin(), tick_.now());
  ownNames_ = ownHostNames();
  addRoutes();
  connect(gate_, &ConnectionGate::webSocketRequested, this, &RemoteServer::acceptWebSocket);
  // A paired device's connections beyond its address's connection rate count against the
  // device's own command limit instead.
  gate_->setSessionCheck([this](const QByteArray& authorization, const QByteArray& cookie) {
    const std::optional<int> device = pairing_->deviceOf(sessionToken(authorization, cookie));
    return device && takeCommand(*device);
  });
  pingTimer_.start(kPingMs);
  error_.clear();
  emit devicesChanged();
  return true;
}

void RemoteServer::stop() {
  pingTimer_.stop();
  pushTimer_.stop();
  queueTimer_.stop();
  queued_.clear();
  // The WebSockets live on the gate's sockets and go with them.
  for (const auto& client : std::exchange(clients_, {})) {
    client->socket->disconnect(this);
    client->socket->abort();
  }
  http_.reset();
  gate_ = nullptr;
  pairing_.reset();
  commandLimits_.clear();
  readLimits_.clear();
}

void RemoteServer::setOverlayToken(const QByteArray& token) {
  if (token == overlayToken_) return;
  overlayToken_ = token;
  if (!token.isEmpty()) dropReaders();
}

void RemoteServer::dropReaders() {
  for (const auto& client : QList(clients_))
    if (client->access == Access::Read) {
      client->access = Access::None;
      closeClient(*client, 4401, "the overlay was locked");
    }
  if (gate_) gate_->dropReaders();  // and whatever is still on its way to become one
}

quint16 RemoteServer::nextFreePort(const QHostAddress& address, quint16 from) {
  for (int port = std::max<int>(from, 1); port <= std::min(from + 100, 65535); ++port) {
    QTcpServer probe;
    if (probe.listen(address, quint16(port))) return quint16(port);
  }
  return 0;
}

void RemoteServer::setTeamColors(const QColor& home, const QColor& guest) {
  const QJsonArray colors{home.name(), guest.name()};
  if (colors == teamColors_) return;
  teamColors_ = colors;
  boardChanged();
}

bool RemoteServer::isRunning() const { return gate_ && gate_->isListening(); }
quint16 RemoteServer::port() const { return gate_ ? gate_->serverPort() : 0; }
QString RemoteServer::pin() const { return pairing_ ? pairing_->pin() : QString(); }

int RemoteServer::guessingAddresses() const { return pairing_ ? pairing_->guessingAddresses() : 0; }

int RemoteServer::readers() const {
  return int(std::count_if(clients_.begin(), clients_.end(), [](const auto& c) {
    return c->access == Access::Read && c->socket->isOpen();
  }));
}

QList<Pairing::Device> RemoteServer::devices() const {
  return pairing_ ? pairing_->devices() : QList<Pairing::Device>();
}

void RemoteServer::dropDevice(int id) {
  if (!pairing_ || !pairing_->drop(id)) return;
  commandLimits_.remove(id);
  for (const auto& client : QList(clients_))
    if (client->device == id) {
      client->access = Access::None;  // whatever it still sends before the close is refused
      closeClient(*client, 4401, "unpaired");
    }
  emit devicesChanged();
}

void RemoteServer::addRoutes() {
  using Method = QHttpServerRequest::Method;
  http_->route("/", Method::Get, [] { return resource("phone.html", "text/html; charset=utf-8"); });
  http_->route("/phone.js", Method::Get,
               [] { return resource("phone.js", "text/javascript; charset=utf-8"); });
  http_->route("/overlay.js", Method::Get,
               [] { return resource("overlay.js", "text/javascript; charset=utf-8"); });
  http_->route("/overlay", Method::Get,
               [this](const QHttpServerRequest& r) { return overlayPage(r); });
  // These two learn the connection too, so that a paired device's connection keeps its slot.
  http_->route("/api/state", Method::Get,
               [this](const QHttpServerRequest& r, QHttpServerResponder&& responder) {
                 answer(state(r, responder.socket()))(std::move(responder));
               });
  http_->route("/api/pair", Method::Post, [this](const QHttpServerRequest& r) { return pair(r); });
  http_->route("/api/command", Method::Post,
               [this](const QHttpServerRequest& r, QHttpServerResponder&& responder) {
                 answer(command(r, responder.socket()))(std::move(responder));
               });
  // "/ws" never reaches the HTTP server: the gate answers its handshake (acceptWebSocket).
}

RemoteServer::Access RemoteServer::accessOf(const QByteArray& token, const QByteArray& readToken,
                                            int* device) const {
  if (const std::optional<int> paired = pairing_->deviceOf(token)) {
    if (device) *device = *paired;
    return Access::Command;
  }
  if (overlayToken_.isEmpty() || equalInConstantTime(readToken, overlayToken_)) return Access::Read;
  return Access::None;
}

QHttpServerResponse RemoteServer::overlayPage(const QHttpServerRequest& request) {
  const QByteArray token = request.query().queryItemValue("token").toUtf8();
  if (!overlayToken_.isEmpty() && !equalInConstantTime(token, overlayToken_))
    return error(Status::Forbidden, "the overlay needs its token: /overlay?token=…");
  return resource("overlay.html", "text/html; charset=utf-8");
}

QHttpServerResponse RemoteServer::state(const QHttpServerRequest& request, QTcpSocket* socket) {
  const QByteArray token = sessionToken(request.value("authorization"), request.value("cookie"));
  const QUrlQuery query = request.query();
  const QByteArray readToken = query.queryItemValue("token").toUtf8();
  int device = 0;
  const Access access = accessOf(token, readToken, &device);
  if (access == Access::None) return error(Status::Unauthorized, "pair with the PIN first");
  if (access == Access::Command) {
    gate_->markSession(socket, device);
  } else {
    const QString address = request.remoteAddress().toString();
    if (readLimits_.size() > 1024) readLimits_.clear();
    auto limit = readLimits_.find(address);
    if (limit == readLimits_.end())
      limit = readLimits_.insert(address, RateLimit(kOpenReadsPerSecond, tick_.now()));
    if (!limit->take(tick_.now())) return error(Status::TooManyRequests, "too many requests");
  }
  const QJsonObject current = currentState();
  const bool lines = query.queryItemValue("lines") == "1" ||
                     (query.hasQueryItem("linesVersion") &&
                      query.queryItemValue("linesVersion") != QString::number(linesVersion_));
  return json(lines ? withLines(current) : current);
}

QJsonObject RemoteServer::currentState() {
  QJsonObject state = board_.state();
  state.insert("overlay", QJsonObject{{"teamColors", teamColors_}});
  QJsonObject text = state.value("text").toObject();
  if (!text.contains("lines")) return state;
  const QJsonArray lines = text.take("lines").toArray();
  if (lines != lines_) {
    lines_ = lines;
    ++linesVersion_;
  }
  text.insert("linesVersion", linesVersion_);
  state.insert("text", text);
  return state;
}

QJsonObject RemoteServer::withLines(QJsonObject state) const {
  if (!state.contains("text")) return state;
  QJsonObject text = state.value("text").toObject();
  text.insert("lines", lines_);
  state.insert("text", text);
  return state;
}

bool RemoteServer::takeCommand(int device) {
  auto limit = commandLimits_.find(device);
  if (limit == commandLimits_.end())
    limit = commandLimits_.insert(device, RateLimit(kCommandsPerSecond, tick_.now()));
  return limit->take(tick_.now());
}

QHttpServerResponse RemoteServer::pair(const QHttpServerRequest& request) {
  const auto checked =
      checkPairRequest(request.body(), request.value("content-type"), request.value("host"),
                       request.value("origin"), request.value("user-agent"), ownNames_);
  if (const auto* refusal = std::get_if<PairRefusal>(&checked))
    return error(Status(refusal->status), refusal->message);
  const PairRequest& asked = std::get<PairRequest>(checked);
  const Pairing::Attempt attempt =
      pairing_->tryPin(asked.pin, tick_.now(), asked.name, request.remoteAddress().toString());
  if (attempt.replaced) {
    commandLimits_.remove(attempt.replaced);
    for (const auto& client : QList(clients_))
      if (client->device == attempt.replaced) {
        client->access = Access::None;
        closeClient(*client, 4401, "paired again");
      }
  }
  switch (attempt.outcome) {
    case Pairing::Outcome::Paired: {
      emit devicesChanged();
      QHttpServerResponse response = json({{"ok", true}, {"token", QString(attempt.token)}});
      response.addHeader("Set-Cookie", QByteArray(kSessionCookie) + '=' + attempt.token +
                                           "; Path=/; HttpOnly; SameSite=Strict");
      return response;
    }
    case Pairing::Outcome::WrongPin:
      emit devicesChanged();
      return error(Status::Forbidden, "wrong PIN");
    case Pairing::Outcome::Throttled: {
      const int seconds = int((attempt.retryAfterMs + 999) / 1000);
      QHttpServerResponse response = json(
          {{"error", "too many wrong PINs"}, {"retryAfter", seconds}}, Status::TooManyRequests);
      response.addHeader("Retry-After", QByteArray::number(seconds));
      return response;
    }
    case Pairing::Outcome::TooManyDevices:
      return error(Status::Forbidden, "too many paired devices");
  }
  return error(Status::InternalServerError, "");
}

QHttpServerResponse RemoteServer::command(const QHttpServerRequest& request, QTcpSocket* socket) {
  const QByteArray token = sessionToken(request.value("authorization"), request.value("cookie"));
  if (token.isEmpty()) return error(Status::Unauthorized, "pair with the PIN first");
  const std::optional<int> device = pairing_->deviceOf(token);
  if (!device) return error(Status::Unauthorized, "unknown or dropped session");
  if (!sameOrigin(request.value("origin"), request.value("host")))
    return error(Status::Forbidden, "foreign origin");
  gate_->markSession(socket, *device);
  if (!isJson(request)) return error(Status::UnsupportedMediaType, "send JSON");
  if (!takeCommand(*device)) return error(Status::TooManyRequests, "too many commands");
  const auto parsed = parseRemoteCommand(request.body());
  if (const auto* failure = std::get_if<CommandError>(&parsed)) {
    const bool tooLarge = request.body().size() > kMaxCommandBytes;
    return error(tooLarge ? Status::PayloadTooLarge : Status::BadRequest, failure->message);
  }
  const QString refusal = board_.apply(std::get<RemoteCommand>(parsed));
  if (!refusal.isEmpty()) return error(Status::BadRequest, refusal);
  return json({{"ok", true}});
}

void RemoteServer::acceptWebSocket(WebSocket* socket) {
  int device = 0;
  const Access access =
      accessOf(sessionToken(socket->header("authorization"), socket->header("cookie")),
               socket->query().queryItemValue("token").toUtf8(), &device);
  // The handshake is answered in any case: a refusal comes as a close code the page knows.
  socket->accept();
  auto client = std::make_shared<Client>(Client{socket, access, device, tick_.now(), tick_.now()});
  clients_.append(client);
  connect(socket, &WebSocket::disconnected, this, [this, socket] {
    const bool reader = clientOf(socket) && clientOf(socket)->access == Access::Read;
    clients_.removeIf([socket](const auto& c) { return c->socket == socket; });
    if (reader) emit readersChanged();
  });
  if (!sameOrigin(socket->header("origin"), socket->header("host"))) {
    closeClient(*client, 4403, "foreign origin");
    return;
  }
  if (access == Access::None) {
    closeClient(*client, 4401, "pair with the PIN first");
    return;
  }
  // Takes its slot; a reader beyond the readers' slots is refused (the ones connected first
  // keep theirs).
  if (!gate_->becameWebSocket(
          socket->peerAddress(), socket->peerPort(),
          access == Access::Command ? ConnectionGate::Kind::Session : ConnectionGate::Kind::Reader,
          device)) {
    client->access = Access::None;
    closeClient(*client, kTryAgainCode, "too many viewers");
    return;
  }
  if (!socket->isOpen()) return;
  connect(socket, &WebSocket::textReceived, this, [this, socket](const QString& text) {
    if (Client* c = clientOf(socket)) received(*c, text);
  });
  connect(socket, &WebSocket::binaryReceived, this, [this, socket] {
    if (Client* c = clientOf(socket)) closeClient(*c, 1003, "send text");
  });
  connect(socket, &WebSocket::pong, this, [this, socket] {
    if (Client* c = clientOf(socket)) c->lastHeard = tick_.now();
  });
  const QJsonObject state = withLines(currentState());
  client->linesVersion = linesVersion_;
  socket->sendText(
      messageOf({{"access", access == Access::Command ? "command" : "read"}, {"state", state}}));
  if (access == Access::Read) emit readersChanged();
}

RemoteServer::Client* RemoteServer::clientOf(WebSocket* socket) {
  for (const auto& c : clients_)
    if (c->socket == socket) return c.get();
  return nullptr;
}

void RemoteServer::received(Client& client, const QString& message) {
  const quint32 now = tick_.now();
  client.lastHeard = now;
  if (client.access == Access::Command && !takeCommand(client.device))
    return closeClient(client, 1008, "too many commands");
  if (client.access != Access::Command) {
    client.socket->sendText(messageOf({{"error", "read-only"}, {"status", 403}}));
    return;
  }
  // The rate limit above bounds the queue: at most one second's worth per device.
  for (const auto& c : clients_)
    if (c.get() == &client) queued_.push_back({c, message});
  if (!queueTimer_.isActive()) queueTimer_.start(0);
}

void RemoteServer::runQueued() {
  QElapsedTimer slice;
  slice.start();
  while (!queued_.empty() && slice.elapsed() < kCommandSliceMs) {
    const Queued next = std::move(queued_.front());
    queued_.pop_front();
    // A client closed or dropped meanwhile sends nothing more.
    if (const auto client = next.client.lock();
        client && client->access == Access::Command && client->socket->isOpen())
      run(*client, next.message);
  }
  if (!queued_.empty()) queueTimer_.start(0);  // the rest after the repaint
}

void RemoteServer::run(Client& client, const QString& message) {
  const auto parsed = parseRemoteCommand(message.toUtf8());
  if (const auto* failure = std::get_if<CommandError>(&parsed)) {
    client.socket->sendText(messageOf({{"error", failure->message}, {"status", 400}}));
    return;
  }
  const QString refusal = board_.apply(std::get<RemoteCommand>(parsed));
  if (!refusal.isEmpty()) client.socket->sendText(messageOf({{"error", refusal}, {"status", 400}}));
}

void RemoteServer::boardChanged() {
  if (!clients_.isEmpty() && !pushTimer_.isActive()) pushTimer_.start(0);
}

void RemoteServer::push() {
  const QJsonObject state = currentState();
  const QString message = messageOf({{"state", state}});
  QString withList;  // made for the first page that needs it
  for (const auto& client : QList(clients_)) {
    if (client->access == Access::None || !client->socket->isOpen()) continue;
    if (client->socket->bytesToWrite() > kMaxBacklogBytes) {
      client->socket->abort();
      continue;
    }
    if (client->linesVersion == linesVersion_) {
      client->socket->sendText(message);
      continue;
    }
    if (withList.isEmpty()) withList = messageOf({{"state", withLines(state)}});
    client->linesVersion = linesVersion_;
    client->socket->sendText(withList);
  }
}

void RemoteServer::pingAll() {
  const quint32 now = tick_.now();
  for (const auto& client : QList(clients_)) {
    if (tickSpan(now, client->lastHeard) > quint32(kSilentMs))
      client->socket->abort();
    else if (client->access == Access::Read &&
             tickSpan(now, client->since) > quint32(kReaderLifetimeMs)) {
      gate_->holdReaderSlot(client->socket->peerAddress());
      closeClient(*client, kReconnectCode, "reconnect");
    } else if (client->socket->bytesToWrite() > kMaxBacklogBytes)
      client->socket->abort();
    else
      client->socket->ping();
  }
}

void RemoteServer::closeClient(Client& client, int code, const QString& reason) {
  client.socket->close(code, reason);
}
