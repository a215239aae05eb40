#include "remote/remoteserver.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include "remote/remoteboard.h"
#include "support/fakes.h"

namespace {

constexpr int kWaitMs = 5000;

// Counts the goals it is told of and tells the server of each change, as the program's board
// does through the match's change notification.
class GoalBoard : public RemoteBoard {
 public:
  QJsonObject state() const override { return {{"goals", goals}}; }
  void apply(const RemoteCommand& command) override {
    ++commands;
    if (command.kind == RemoteCommand::Kind::Goal) goals += command.value;
    if (server) server->boardChanged();
  }
  RemoteServer* server = nullptr;
  int goals = 0;
  int commands = 0;
};

struct Reply {
  int status = 0;
  QByteArray head;
  QByteArray body;
  QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// One HTTP exchange over a real socket. It waits in the event loop, so the server in this
// thread answers meanwhile.
Reply exchange(quint16 port, const QByteArray& request) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  socket.write(request);
  QByteArray data;
  Reply reply;
  const bool answered = QTest::qWaitFor(
      [&] {
        data += socket.readAll();
        const qsizetype end = data.indexOf("\r\n\r\n");
        if (end < 0) return false;
        reply.head = data.left(end);
        const qsizetype at = reply.head.toLower().indexOf("content-length: ");
        const int length = at < 0 ? 0 : reply.head.mid(at + 16).split('\r').first().toInt();
        reply.body = data.mid(end + 4);
        return reply.body.size() >= length;
      },
      kWaitMs);
  reply.status = answered ? reply.head.mid(9, 3).toInt() : 0;
  return reply;
}

QByteArray post(const char* path, const QByteArray& body, const QByteArray& headers = {},
                const char* type = "application/json") {
  return QByteArray("POST ") + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: " + type +
         "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n" + headers + "\r\n" +
         body;
}

QByteArray get(const char* path, const QByteArray& headers = {}) {
  return QByteArray("GET ") + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n";
}

QByteArray bearer(const QByteArray& token) { return "Authorization: Bearer " + token + "\r\n"; }

// A WebSocket client that keeps every message it gets.
struct Page {
  Page(quint16 port, const QByteArray& cookie = {}, const QString& query = {}) {
    QNetworkRequest request(QUrl(QString("ws://127.0.0.1:%1/ws%2").arg(port).arg(query)));
    if (!cookie.isEmpty()) request.setRawHeader("Cookie", "scorvex_session=" + cookie);
    QObject::connect(&socket, &QWebSocket::textMessageReceived,
                     [this](const QString& m) { messages.append(m); });
    socket.open(request);
  }
  bool waitForMessages(int count) {
    return QTest::qWaitFor([&] { return messages.size() >= count; }, kWaitMs);
  }
  bool waitForClose() {
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; },
                           kWaitMs);
  }
  QJsonObject last() const { return QJsonDocument::fromJson(messages.last().toUtf8()).object(); }
  // As a number: the server's own codes (4000 and up) lie outside the values of Qt's CloseCode
  // enum, so a comparison through a reference of that type is undefined behaviour.
  int closeCode() const { return socket.closeCode(); }

  QWebSocket socket;
  QStringList messages;
};

class RemoteServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    board.server = &server;
    ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0)) << server.errorString().toStdString();
    port = server.port();
  }
  Reply pair(const QString& pin) {
    return exchange(port, post("/api/pair", QString(R"({"pin":"%1"})").arg(pin).toUtf8()));
  }
  QByteArray pairedToken() { return pair(server.pin()).json().value("token").toString().toUtf8(); }

  FakeTick tick;
  GoalBoard board;
  RemoteServer server{board, tick};
  quint16 port = 0;
};

}  // namespace

TEST_F(RemoteServerTest, RightPinPairsWrongPinsAreThrottledForEverybody) {
  const QString wrong = server.pin() == "000000" ? "111111" : "000000";
  for (int i = 0; i < Pairing::kFreeTries; ++i) EXPECT_EQ(pair(wrong).status, 403);
  // Now every try waits, the right one too, and each wrong one doubles the wait.
  Reply throttled = pair(server.pin());
  EXPECT_EQ(throttled.status, 429);
  EXPECT_TRUE(throttled.head.contains("Retry-After: 1"));
  tick.advance(1000);
  EXPECT_EQ(pair(wrong).status, 403);
  tick.advance(1000);
  throttled = pair(server.pin());
  EXPECT_EQ(throttled.status, 429);
  EXPECT_EQ(throttled.json().value("retryAfter").toInt(), 1);
  tick.advance(1000);

  const Reply paired = pair(server.pin());
  ASSERT_EQ(paired.status, 200);
  const QByteArray token = paired.json().value("token").toString().toUtf8();
  EXPECT_GE(token.size(), 40);
  EXPECT_TRUE(paired.head.contains("Set-Cookie: scorvex_session=" + token + "; Path=/; HttpOnly"));
  EXPECT_EQ(server.devices().size(), 1);
  EXPECT_EQ(
      exchange(port, post("/api/command", R"({"cmd":"goal","team":1})", bearer(token))).status,
      200);
  EXPECT_EQ(board.goals, 1);
}

TEST_F(RemoteServerTest, CommandFromAPairedPhoneReachesTheBoardAndEveryPage) {
  const QByteArray token = pairedToken();
  Page phone(port, token), overlay(port);
  ASSERT_TRUE(phone.waitForMessages(1) && overlay.waitForMessages(1));
  EXPECT_EQ(phone.last().value("access").toString(), "command");
  EXPECT_EQ(overlay.last().value("access").toString(), "read");

  phone.socket.sendTextMessage(R"({"cmd":"goal","team":2})");
  ASSERT_TRUE(overlay.waitForMessages(2));
  EXPECT_EQ(overlay.last().value("state").toObject().value("goals").toInt(), 1);

  // The overlay only reads; a scripted POST pushes like a tap.
  overlay.socket.sendTextMessage(R"({"cmd":"goal","team":2})");
  ASSERT_TRUE(overlay.waitForMessages(3));
  EXPECT_EQ(overlay.last().value("status").toInt(), 403);
  EXPECT_EQ(
      exchange(port, post("/api/command", R"({"cmd":"goal","team":1})", bearer(token))).status,
      200);
  ASSERT_TRUE(overlay.waitForMessages(4));
  EXPECT_EQ(overlay.last().value("state").toObject().value("goals").toInt(), 2);
  EXPECT_EQ(board.commands, 2);

  // Dropping the phone in the pairing window closes it and voids its token.
  server.dropDevice(server.devices().first().id);
  ASSERT_TRUE(phone.waitForClose());
  EXPECT_EQ(phone.closeCode(), 4401);
  EXPECT_EQ(exchange(port, post("/api/command", R"({"cmd":"reset"})", bearer(token))).status, 401);
}

TEST_F(RemoteServerTest, RefusedRequestsChangeNothing) {
  const QByteArray token = pairedToken();
  server.setOverlayToken("overlay-secret");
  const QByteArray goal = R"({"cmd":"goal","team":1})";
  struct Row {
    const char* name;
    QByteArray request;
    int status;
  } rows[] = {
      {"no token", post("/api/command", goal), 401},
      {"unknown token", post("/api/command", goal, bearer("x" + token)), 401},
      {"overlay token", post("/api/command", goal, bearer("overlay-secret")), 401},
      {"foreign page", post("/api/command", goal, bearer(token) + "Origin: http://evil.test\r\n"),
       403},
      {"not JSON", post("/api/command", goal, bearer(token), "text/plain"), 415},
      {"malformed", post("/api/command", "{\"cmd\":", bearer(token)), 400},
      {"unknown command", post("/api/command", R"({"cmd":"open"})", bearer(token)), 400},
      {"wrong type", post("/api/command", R"({"cmd":"goal","team":"1"})", bearer(token)), 400},
      {"over 4 KiB", post("/api/command", QByteArray(5000, ' ') + goal, bearer(token)), 413},
      {"state without a token", get("/api/state"), 401},
      {"overlay without its token", get("/overlay"), 403},
      {"a file", get("/Lauftext.txt"), 404},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(exchange(port, row.request).status, row.status);
  }
  EXPECT_EQ(board.commands, 0);
  EXPECT_EQ(exchange(port, get("/api/state?token=overlay-secret")).status, 200);
  EXPECT_EQ(exchange(port, get("/overlay?token=overlay-secret")).status, 200);
}

TEST_F(RemoteServerTest, MisbehavingWebSocketsAreClosed) {
  const QByteArray token = pairedToken();
  server.setOverlayToken("overlay-secret");
  struct Row {
    const char* name;
    QByteArray cookie;
    std::function<void(QWebSocket&)> send;
    int closeCode;
  } rows[] = {
      {"not paired", {}, [](QWebSocket&) {}, 4401},
      {"over 4 KiB", token,
       [](QWebSocket& s) { s.sendTextMessage(QString(kMaxCommandBytes + 1, ' ')); }, 1009},
      {"binary", token, [](QWebSocket& s) { s.sendBinaryMessage("x"); }, 1003},
      {"flood", token,
       [](QWebSocket& s) {
         for (int i = 0; i <= RemoteServer::kCommandsPerSecond; ++i) s.sendTextMessage("{}");
       },
       1008},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Page page(port, row.cookie);
    // A paired page gets its greeting first; an unpaired one is closed at once.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !page.messages.isEmpty() || page.closeCode() != 1000; }, kWaitMs));
    row.send(page.socket);
    ASSERT_TRUE(page.waitForClose());
    EXPECT_EQ(page.closeCode(), row.closeCode);
  }
  EXPECT_EQ(board.commands, 0);
}

TEST_F(RemoteServerTest, SlowAndPiledUpConnectionsAreDropped) {
  server.setConnectionLimits({.maxConnections = 8,
                              .maxPerAddress = 3,
                              .requestMs = 300,
                              .idleMs = 300,
                              .maxRequestBytes = 16 * 1024});
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  port = server.port();
  std::vector<std::unique_ptr<QTcpSocket>> sockets;
  for (int i = 0; i < 4; ++i) {
    sockets.push_back(std::make_unique<QTcpSocket>());
    sockets.back()->connectToHost(QHostAddress::LocalHost, port);
  }
  sockets.front()->write("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n");  // and never the end
  QByteArray refused;
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return (refused += sockets[3]->readAll()).size() > 0; }, kWaitMs));
  EXPECT_TRUE(refused.startsWith("HTTP/1.1 503"));
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return sockets[i]->state() == QAbstractSocket::UnconnectedState; }, kWaitMs))
        << i;
  // With the slow ones gone, the next page is served.
  EXPECT_EQ(exchange(port, get("/")).status, 200);
}
