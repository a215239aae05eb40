#include "remote/remoteserver.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QNetworkRequest>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <map>

#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "remote/pairingwindow.h"
#include "remote/pairrequest.h"
#include "remote/remoteboard.h"
#include "settings/settings.h"
#include "support/fakes.h"

namespace {

constexpr int kWaitMs = 5000;

// Counts the goals it is told of and tells the server of each change, as the program's board
// does through the match's change notification.
class GoalBoard : public RemoteBoard {
 public:
  QJsonObject state() const override { return {{"goals", goals}}; }
  QString apply(const RemoteCommand& command) override {
    QElapsedTimer busy;  // as long as a command of a long match might take
    busy.start();
    while (busy.elapsed() < applyMs) {
    }
    if (turn) turns.push_back(*turn);
    ++commands;
    // As the command layer refuses, in the board's own words: nothing changes.
    if (goals + command.value < 0) return "kein Tor abzuziehen";
    if (command.kind == RemoteCommand::Kind::Goal) goals += command.value;
    if (server) server->boardChanged();
    return {};
  }
  RemoteServer* server = nullptr;
  int goals = 0;
  int commands = 0;
  int applyMs = 0;
  const int* turn = nullptr;  // the turn of the event loop each command ran in goes to turns
  std::vector<int> turns;
};

struct Reply {
  int status = 0;
  QByteArray head;
  QByteArray body;
  QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// One HTTP exchange over a real socket. It waits in the event loop, so the server in this
// thread answers meanwhile.
Reply exchange(quint16 port, const QByteArray& request, const char* from = nullptr,
               bool* closed = nullptr) {
  QTcpSocket socket;
  if (from) socket.bind(QHostAddress(QString::fromLatin1(from)));
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
  if (closed)
    *closed =
        QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 300);
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
    open(request);
  }
  void open(const QNetworkRequest& request) {
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
  Reply pair(const QString& pin, const char* from = nullptr) {
    return exchange(port, post("/api/pair", QString(R"({"pin":"%1"})").arg(pin).toUtf8()), from);
  }
  QByteArray pairedToken() { return pair(server.pin()).json().value("token").toString().toUtf8(); }

  FakeTick tick;
  GoalBoard board;
  RemoteServer server{board, tick};
  quint16 port = 0;
};

}  // namespace

TEST_F(RemoteServerTest, RightPinPairsWrongPinsAreThrottledPerAddress) {
  const QString wrong = server.pin() == "000000" ? "111111" : "000000";
  for (int i = 0; i < Pairing::kFreeTries; ++i) EXPECT_EQ(pair(wrong).status, 403);
  // A phone on another address that has not guessed wrong pairs at once.
  EXPECT_EQ(pair(server.pin(), "127.0.0.2").status, 200);
  // From the guessing address every try waits, the right one too, and each wrong one doubles
  // the wait.
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
  EXPECT_EQ(server.devices().size(), 2);
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

// A command the board refuses reaches the sender as the board's reason, with status 400.
TEST_F(RemoteServerTest, TheBoardsRefusalIsTheAnswer) {
  const QByteArray token = pairedToken();
  const Reply reply =
      exchange(port, post("/api/command", R"({"cmd":"goal","team":1,"delta":-1})", bearer(token)));
  EXPECT_EQ(reply.status, 400);
  EXPECT_EQ(reply.json().value("error").toString(), "kein Tor abzuziehen");
  EXPECT_EQ(board.goals, 0);
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

// A WebSocket spoken byte by byte over a plain socket, to send what no WebSocket class sends.
struct RawWebSocket {
  // Sends the opening handshake, in two pieces some time apart if `split`; the answer's head,
  // once it came, is in `head`.
  RawWebSocket(quint16 port, const QByteArray& token, bool split = false,
               const char* from = nullptr) {
    if (from) socket.bind(QHostAddress(QString::fromLatin1(from)));
    socket.connectToHost(QHostAddress::LocalHost, port);
    const QByteArray handshake =
        "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
        "Connection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
        "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nCookie: scorvex_session=" +
        token + "\r\n\r\n";
    const qsizetype first = split ? 40 : handshake.size();
    socket.write(handshake.left(first));
    if (split) {
      socket.waitForBytesWritten(kWaitMs);
      QTest::qWait(100);
    }
    socket.write(handshake.mid(first));
    (void)QTest::qWaitFor([&] { return (data += socket.readAll()).contains("\r\n\r\n"); }, kWaitMs);
    const qsizetype end = data.indexOf("\r\n\r\n");
    head = data.left(end);
    data.remove(0, end + 4);
  }
  // A frame whose first byte (FIN, reserved bits, opcode) is `first`: a whole text by default.
  void send(const QByteArray& payload, bool masked, char first = '\x81') {
    QByteArray frame(1, first);
    frame.append(char((masked ? 0x80 : 0) | payload.size()));  // short payloads only
    const QByteArray mask("\x0F\xF0\x5A\xA5", 4);
    if (masked) frame.append(mask);
    for (qsizetype i = 0; i < payload.size(); ++i)
      frame.append(masked ? char(payload[i] ^ mask[i % 4]) : payload[i]);
    socket.write(frame);
  }
  // The next frame from the server, whose frames are never masked: opcode and payload.
  std::pair<int, QByteArray> next() {
    std::pair<int, QByteArray> frame{-1, {}};  // none came
    (void)QTest::qWaitFor(
        [&] {
          data += socket.readAll();
          if (data.size() < 2) return false;
          const int length7 = data[1] & 0x7F;
          const int header = length7 == 126 ? 4 : 2;
          if (data.size() < header) return false;
          const int length =
              length7 == 126 ? (uchar(data[2]) << 8 | uchar(data[3])) : length7;  // under 64 KiB
          if (data.size() < header + length) return false;
          frame = {data[0] & 0x0F, data.mid(header, length)};
          data.remove(0, header + length);
          return true;
        },
        kWaitMs);
    return frame;
  }
  QTcpSocket socket;
  QByteArray head;
  QByteArray data;
};

TEST_F(RemoteServerTest, AHandshakeInPiecesIsAnsweredAsOneInAPiece) {
  for (const bool split : {false, true}) {
    RawWebSocket page(port, pairedToken(), split);
    EXPECT_TRUE(page.head.startsWith("HTTP/1.1 101")) << split << page.head.constData();
    EXPECT_TRUE(page.head.contains("Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo="));
    EXPECT_EQ(page.next().first, 1) << split;  // the greeting
  }
}

// What the server answers to a paired page's frames (the reader's own rules are tested with the
// reader); a closed one's command never runs.
TEST_F(RemoteServerTest, PingsAreAnsweredAndBadFramesClosedWithTheirCode) {
  const QByteArray goal = R"({"cmd":"goal","team":1})";
  struct Row {
    const char* name;
    char first;
    QByteArray payload;
    int opcode;        // of the answer
    QByteArray reply;  // its payload's start: for a close frame, the code
    bool closed;
    bool masked = true;
  } rows[] = {
      {"ping", '\x89', "are you there", 0xA, "are you there", false},
      {"close", '\x88', QByteArray("\x03\xE8", 2), 8, QByteArray("\x03\xE8", 2), true},
      {"binary", '\x82', goal, 8, QByteArray("\x03\xEB", 2), true},
      {"text that is not UTF-8", '\x81', "\xC3\x28", 8, QByteArray("\x03\xEF", 2), true},
      {"unmasked", '\x81', goal, 8, QByteArray("\x03\xEA", 2), true, false},
  };
  const QByteArray token = pairedToken();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RawWebSocket page(port, token);
    ASSERT_EQ(page.next().first, 1);  // the greeting
    page.send(row.payload, row.masked, row.first);
    const auto [opcode, payload] = page.next();
    EXPECT_EQ(opcode, row.opcode);
    EXPECT_EQ(payload.left(row.reply.size()), row.reply);
    EXPECT_EQ(QTest::qWaitFor(
                  [&] { return page.socket.state() == QAbstractSocket::UnconnectedState; }, 300),
              row.closed);
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

TEST_F(RemoteServerTest, RequestsFollowHttpToTheLetter) {
  const QByteArray token = pairedToken();
  const QByteArray state = "GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  const QByteArray goal = R"({"cmd":"goal","team":1})";
  const QByteArray upgrade =
      "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n";
  const QByteArray key = "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
  const QByteArray command = "POST /api/command HTTP/1.1\r\nHost: 127.0.0.1\r\n" + bearer(token) +
                             "Content-Type: application/json\r\n";
  struct Row {
    const char* name;
    QByteArray request;
    int status;
    bool closed;  // by the server after its answer
  } rows[] = {
      {"kept alive", state + bearer(token) + "\r\n", 200, false},
      {"bearer in lower case", state + "Authorization: bearer " + token + "\r\n\r\n", 200, false},
      {"Connection: close", state + bearer(token) + "Connection: close\r\n\r\n", 200, true},
      {"HTTP/1.0", "GET /api/state HTTP/1.0\r\n" + bearer(token) + "\r\n", 200, true},
      {"HTTP/1.0 kept alive",
       "GET /api/state HTTP/1.0\r\nConnection: keep-alive\r\n" + bearer(token) + "\r\n", 200,
       false},
      {"no Host", "GET /api/state HTTP/1.1\r\n" + bearer(token) + "\r\n", 400, true},
      {"/ws without an upgrade", "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 426, true},
      {"two lengths", command + "Content-Length: 23\r\nContent-Length: 23\r\n\r\n" + goal, 400,
       true},
      {"negative length", command + "Content-Length: -1\r\n\r\n" + goal, 400, true},
      {"length and chunked",
       command + "Content-Length: 23\r\nTransfer-Encoding: chunked\r\n\r\n17\r\n" + goal +
           "\r\n0\r\n\r\n",
       400, true},
      {"unknown version", "GET / HTTP/2.0\r\nHost: 127.0.0.1\r\n\r\n", 400, true},
      {"unknown WebSocket version", upgrade + "Sec-WebSocket-Version: 8\r\n" + key + "\r\n", 426,
       true},
      {"WebSocket key too short",
       upgrade + "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: c2hvcnQ=\r\n\r\n", 400, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    bool closed = false;
    EXPECT_EQ(exchange(port, row.request, nullptr, &closed).status, row.status);
    EXPECT_EQ(closed, row.closed);
  }
  EXPECT_EQ(board.commands, 0);  // none of the refused commands ran
}

TEST_F(RemoteServerTest, PairingOnlyThroughOurOwnAddress) {
  const QByteArray body =
      QString(R"({"pin":"%1","name":"Bank\u0007 links"})").arg(server.pin()).toUtf8();
  auto pairWith = [&](const QByteArray& headers) {
    return exchange(port, "POST /api/pair HTTP/1.1\r\n" + headers +
                              "Content-Type: application/json\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\n\r\n" + body)
        .status;
  };
  struct Row {
    const char* name;
    QByteArray headers;
    int status;
  } rows[] = {
      {"a name that resolves to us", "Host: scorvex.evil.test:8440\r\n", 421},
      {"a foreign page", "Host: 127.0.0.1\r\nOrigin: http://evil.test\r\n", 403},
      {"our page on another port", "Host: 127.0.0.1:8440\r\nOrigin: http://127.0.0.1:9\r\n", 403},
      {"IPv4 with our page", "Host: 127.0.0.1:8440\r\nOrigin: http://127.0.0.1:8440\r\n", 200},
      {"IPv6", "Host: [::1]:8440\r\n", 200},
      {"localhost", "Host: LOCALHOST:8440\r\n", 200},
      {"this computer's name", "Host: " + ownHostNames().first().toUtf8() + "\r\n", 200},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(pairWith(row.headers), row.status);
  }
  EXPECT_EQ(server.devices().first().name, "Bank links");
}

TEST_F(RemoteServerTest, OneAddressHoldsOnlyAFewDevices) {
  const QByteArray first = pairedToken();
  for (int i = 1; i < Pairing::kDevicesPerAddress + 2; ++i) pairedToken();
  EXPECT_EQ(server.devices().size(), Pairing::kDevicesPerAddress);
  // The oldest made room: its token is void.
  EXPECT_EQ(exchange(port, post("/api/command", R"({"cmd":"reset"})", bearer(first))).status, 401);
  EXPECT_EQ(pair(server.pin(), "127.0.0.2").status, 200);
  EXPECT_EQ(server.devices().size(), Pairing::kDevicesPerAddress + 1);

  // A PIN pairs only so many devices; then the window shows a new one and the old is wrong.
  const QString used = server.pin();
  PairingWindow window(server);
  int pairings = Pairing::kDevicesPerAddress + 3;  // so far
  for (; pairings < Pairing::kPairingsPerPin; ++pairings)
    EXPECT_EQ(pair(used, "127.0.0.3").status, 200);
  EXPECT_NE(server.pin(), used);
  EXPECT_EQ(window.findChild<QLabel*>("LabelPin")->text(), server.pin());
  EXPECT_EQ(pair(used, "127.0.0.4").status, 403);
}

TEST_F(RemoteServerTest, CommandLimitHoldsForTheDeviceNotTheSocket) {
  const QByteArray token = pairedToken();
  const QByteArray goal = R"({"cmd":"goal","team":1})";
  // The clock stands still, so nothing is refilled.
  Page a(port, token), b(port, token);
  ASSERT_TRUE(a.waitForMessages(1) && b.waitForMessages(1));
  // All but one over one socket, the last over HTTP.
  const int all = RemoteServer::kCommandsPerSecond;
  for (int i = 0; i < all - 1; ++i) a.socket.sendTextMessage(goal);
  ASSERT_TRUE(QTest::qWaitFor([&] { return board.commands == all - 1; }, kWaitMs));
  EXPECT_EQ(exchange(port, post("/api/command", goal, bearer(token))).status, 200);
  b.socket.sendTextMessage(goal);
  ASSERT_TRUE(b.waitForClose());
  EXPECT_EQ(b.closeCode(), 1008);
  EXPECT_EQ(exchange(port, post("/api/command", goal, bearer(token))).status, 429);
  EXPECT_EQ(board.commands, RemoteServer::kCommandsPerSecond);
  // Another device has its own.
  const QByteArray other =
      pair(server.pin(), "127.0.0.2").json().value("token").toString().toUtf8();
  EXPECT_EQ(exchange(port, post("/api/command", goal, bearer(other))).status, 200);
}

// A board with a running-text list, as the program's.
class ListBoard : public RemoteBoard {
 public:
  QJsonObject state() const override {
    return {{"clock", tick}, {"text", QJsonObject{{"lines", QJsonArray::fromStringList(lines)}}}};
  }
  QString apply(const RemoteCommand&) override { return {}; }
  int tick = 0;
  QStringList lines{"Willkommen", "Halbzeit"};
};

TEST(RemoteServerLines, TheListTravelsOnlyWhenItChanged) {
  FakeTick tick;
  ListBoard board;
  RemoteServer server(board, tick);
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  Page page(server.port());
  ASSERT_TRUE(page.waitForMessages(1));
  auto text = [&] { return page.last().value("state").toObject().value("text").toObject(); };
  EXPECT_EQ(text().value("lines").toArray().size(), 2);
  const int version = text().value("linesVersion").toInt();

  board.tick = 1;  // a clock second
  server.boardChanged();
  ASSERT_TRUE(page.waitForMessages(2));
  EXPECT_FALSE(text().contains("lines"));
  EXPECT_EQ(text().value("linesVersion").toInt(), version);

  board.lines.append("Tor!");
  server.boardChanged();
  ASSERT_TRUE(page.waitForMessages(3));
  EXPECT_EQ(text().value("lines").toArray().last().toString(), "Tor!");
  EXPECT_NE(text().value("linesVersion").toInt(), version);

  const QByteArray plain = exchange(server.port(), get("/api/state")).body;
  EXPECT_FALSE(plain.contains("Tor!"));
  EXPECT_TRUE(exchange(server.port(), get("/api/state?lines=1")).body.contains("Tor!"));
  EXPECT_TRUE(exchange(server.port(), get("/api/state?linesVersion=0")).body.contains("Tor!"));
}

TEST_F(RemoteServerTest, ReadersHaveFewSlotsAndLockingTheOverlayDropsThem) {
  server.setConnectionLimits({.maxConnections = 6, .maxPerAddress = 6, .maxReadersPerAddress = 2});
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  port = server.port();
  const QByteArray token = pairedToken();
  Page phone(port, token);
  std::vector<std::unique_ptr<Page>> readers;
  for (int i = 0; i < 3; ++i) {
    readers.push_back(std::make_unique<Page>(port));
    if (i < 2) ASSERT_TRUE(readers.back()->waitForMessages(1)) << i;
  }
  // The third reader from that address is refused, without a greeting; the first two keep
  // their slots.
  ASSERT_TRUE(readers[2]->waitForClose());
  EXPECT_TRUE(readers[2]->messages.isEmpty());
  EXPECT_EQ(readers[2]->closeCode(), RemoteServer::kTryAgainCode);
  EXPECT_EQ(readers[0]->socket.state(), QAbstractSocket::ConnectedState);

  // Plain connections fill the house from one address; the phone's next request still gets in,
  // as the oldest guest of the busiest address makes room.
  std::vector<std::unique_ptr<QTcpSocket>> guests;
  for (int i = 0; i < 6; ++i) {
    guests.push_back(std::make_unique<QTcpSocket>());
    guests.back()->bind(QHostAddress("127.0.0.3"));
    guests.back()->connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(guests.back()->waitForConnected(kWaitMs));
  }
  EXPECT_EQ(exchange(port, get("/api/state", bearer(token)), "127.0.0.4").status, 200);

  server.setOverlayToken("locked");
  ASSERT_TRUE(readers[0]->waitForClose() && readers[1]->waitForClose());
  EXPECT_EQ(readers[1]->closeCode(), 4401);
  EXPECT_EQ(phone.socket.state(), QAbstractSocket::ConnectedState);
}

TEST(DeviceName, ShortNamesFromBrowserStrings) {
  struct Row {
    const char* sent;
    const char* userAgent;
    const char* name;
  } rows[] = {
      {"",
       "Mozilla/5.0 (iPhone; CPU iPhone OS 17_1 like Mac OS X) AppleWebKit/605.1.15 Safari/604.1",
       "iPhone"},
      {"",
       "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 Chrome/120.0 Mobile "
       "Safari/537.36",
       "Android"},
      {"", "Mozilla/5.0 (Windows NT 10.0; Win64; x64; rv:121.0) Gecko/20100101 Firefox/121.0",
       "Firefox unter Windows"},
      {"",
       "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 Version/17.1 "
       "Safari/605.1.15",
       "Safari unter macOS"},
      {"",
       "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 Chrome/120.0 Safari/537.36 Edg/120.0",
       "Edge unter Linux"},
      {"", "curl/8.5.0", "curl"},
      {"", "", "Unbekanntes Gerät"},
      {"  Bank\tlinks ", "curl/8.5.0", "Bank links"},
      {"Ein sehr langer Name für das Telefon am Kampfgericht", "",
       "Ein sehr langer Name für das Telefon am…"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.userAgent);
    EXPECT_EQ(deviceName(QString::fromUtf8(row.sent), row.userAgent), QString::fromUtf8(row.name));
  }
}

TEST_F(RemoteServerTest, ABusyPortIsToldInGermanAndAnotherCanBeChosen) {
  QTcpServer squatter;
  ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
  const quint16 busy = squatter.serverPort();
  RemoteServer other(board, tick);
  EXPECT_FALSE(other.start(QHostAddress::LocalHost, busy));
  EXPECT_EQ(other.errorString(),
            QString("Port %1 ist schon belegt: ein anderes Programm nutzt ihn.").arg(busy));
  const quint16 free = RemoteServer::nextFreePort(QHostAddress::LocalHost, busy);
  EXPECT_GT(free, busy);

  PairingWindow window(other);
  QSignalSpy asked(&window, &PairingWindow::portRequested);
  window.showPortProblem(other.errorString(), free);
  auto* problem = window.findChild<QLabel*>("LabelPortProblem");
  EXPECT_EQ(window.findChild<QLabel*>("LabelAddress")->text(), "Der Server läuft nicht.");
  EXPECT_TRUE(problem->text().contains(QString::number(busy)));
  EXPECT_TRUE(problem->text().contains(QString::number(free)));
  window.findChild<QPushButton*>("bPort")->click();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0][0].toInt(), free);
  ASSERT_TRUE(other.start(QHostAddress::LocalHost, quint16(free)));
  window.refresh();
  EXPECT_TRUE(problem->isHidden());
}

TEST_F(RemoteServerTest, TeamColoursSetInTheWindowAreKeptAndSent) {
  FakePlatform fake;
  Settings settings;
  Match match;
  RunTextList texts;
  Commands commands(match, settings, texts, fake.platform, QString());
  PairingWindow window(server);
  window.attachSettings(commands, fake.dialogs);
  Page overlay(port);
  ASSERT_TRUE(overlay.waitForMessages(1));
  auto colors = [&] {
    return overlay.last()
        .value("state")
        .toObject()
        .value("overlay")
        .toObject()
        .value("teamColors")
        .toArray()
        .toVariantList();
  };
  EXPECT_EQ(colors(), QVariantList({toQColor(settings.record().RemoteColor1).name(),
                                    toQColor(settings.record().RemoteColor2).name()}));
  window.setTeamColor(2, QColor("#00a040"));
  ASSERT_TRUE(overlay.waitForMessages(2));
  EXPECT_EQ(colors().value(1).toString(), "#00a040");
  EXPECT_EQ(settings.record().RemoteColor2, fromQColor(QColor("#00a040")));
}

// Wrong PINs are limited over all addresses together: guessed from 2,000 addresses within two
// seconds, only about as many are tried as two seconds allow, and every other try waits,
// the right PIN too, until the limit allows one again. The million PINs take more than a day.
TEST(Pairing, WrongPinsFromAnyNumberOfAddressesAreLimitedTogether) {
  static_assert(1'000'000 / Pairing::kWrongPinsPerSecond > 24 * 3600);
  Pairing pairing("123456", 0);
  int tried = 0, waited = 0;
  for (int i = 0; i < 2000; ++i) {
    const QString address = QString("10.0.%1.%2").arg(i / 250).arg(i % 250 + 1);
    const Pairing::Attempt attempt = pairing.tryPin("000000", quint32(i), {}, address);
    if (attempt.outcome == Pairing::Outcome::WrongPin) ++tried;
    if (attempt.outcome == Pairing::Outcome::Throttled && attempt.retryAfterMs > 0) ++waited;
  }
  EXPECT_LE(tried, 3 * Pairing::kWrongPinsPerSecond);
  EXPECT_EQ(tried + waited, 2000);
  EXPECT_EQ(pairing.guessingAddresses(), tried);
  const Pairing::Attempt right = pairing.tryPin("123456", 1999, {}, "10.1.0.1");
  EXPECT_EQ(right.outcome, Pairing::Outcome::Throttled);
  EXPECT_EQ(pairing.tryPin("123456", 1999 + right.retryAfterMs, {}, "10.1.0.1").outcome,
            Pairing::Outcome::Paired);
}

TEST_F(RemoteServerTest, TheWindowTellsOfGuessesAndCountsTheReaders) {
  PairingWindow window(server);
  auto* guesses = window.findChild<QLabel*>("LabelGuesses");
  auto* readers = window.findChild<QLabel*>("LabelReaders");
  ASSERT_TRUE(guesses && readers);
  EXPECT_TRUE(guesses->isHidden());
  const QString wrong = server.pin() == "000000" ? "111111" : "000000";
  for (const char* from : {"127.0.0.2", "127.0.0.3", "127.0.0.3", "127.0.0.4"})
    EXPECT_EQ(pair(wrong, from).status, 403);
  EXPECT_EQ(guesses->text(), "Falsche PINs von 3 Adressen");
  EXPECT_FALSE(guesses->isHidden());

  Page overlay(port), board(port);
  ASSERT_TRUE(overlay.waitForMessages(1) && board.waitForMessages(1));
  EXPECT_TRUE(readers->text().endsWith(": 2")) << readers->text().toStdString();
  board.socket.close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return readers->text().endsWith(": 1"); }, kWaitMs));
}

// Read-only WebSockets from 40 addresses cannot take the slot of the overlay connected before
// them: beyond the readers' slots the newer ones are refused.
TEST_F(RemoteServerTest, TheOverlayKeepsItsSlotAgainstFortyAddresses) {
  Page overlay(port);
  ASSERT_TRUE(overlay.waitForMessages(1));
  const int readerSlots = ConnectionGate::Limits{}.maxReaders;
  std::vector<std::unique_ptr<RawWebSocket>> others;
  for (int i = 0; i < 40; ++i) {
    const QByteArray from = "127.0.1." + QByteArray::number(i + 1);
    others.push_back(std::make_unique<RawWebSocket>(port, QByteArray(), false, from.constData()));
  }
  const auto refused = [&] {
    return std::count_if(others.begin(), others.end(), [](const auto& o) {
      return o->socket.state() == QAbstractSocket::UnconnectedState;
    });
  };
  ASSERT_TRUE(QTest::qWaitFor([&] { return refused() == 40 - (readerSlots - 1); }, kWaitMs));
  QTest::qWait(200);
  EXPECT_EQ(refused(), 40 - (readerSlots - 1));
  EXPECT_EQ(overlay.socket.state(), QAbstractSocket::ConnectedState);
  EXPECT_EQ(server.readers(), readerSlots);
  const std::pair<int, QByteArray> close = others.back()->next();  // no greeting before it
  EXPECT_EQ(close.first, 8);
  EXPECT_EQ(close.second.left(2), QByteArray("\x11\x4D", 2));  // 4429
}

// More new connections from one address than it may open are answered 429 with Retry-After,
// not cut off; a paired device's connections count against its own command limit instead.
TEST_F(RemoteServerTest, ABurstOfConnectionsIsAnsweredNotCut) {
  server.setConnectionLimits({.connectsPerSecond = 5});
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  port = server.port();
  const QByteArray token = pairedToken();
  std::map<int, int> statuses;
  for (int i = 0; i < 100; ++i) {
    const Reply reply = exchange(port, get("/"), "127.0.0.5");
    ++statuses[reply.status];
    if (reply.status == 429) EXPECT_TRUE(reply.head.contains("Retry-After: 1"));
  }
  EXPECT_EQ(statuses[200] + statuses[429], 100);
  EXPECT_GE(statuses[429], 50);
  for (int i = 0; i < 100; ++i)
    ASSERT_EQ(exchange(port, get("/api/state", bearer(token)), "127.0.0.6").status, 200) << i;
}

// Commands that arrive together run in slices: the event loop (the display's repaint, the
// match's tick) gets its turn after at most a few milliseconds of them.
TEST_F(RemoteServerTest, CommandsRunInSlicesWithTheEventLoopBetween) {
  Page phone(port, pairedToken());
  ASSERT_TRUE(phone.waitForMessages(1));
  int turn = 0;
  QTimer turns;
  QObject::connect(&turns, &QTimer::timeout, [&] { ++turn; });
  turns.start(0);
  board.applyMs = 1;
  board.turn = &turn;
  for (int i = 0; i < 100; ++i) phone.socket.sendTextMessage(R"({"cmd":"goal","team":1})");
  ASSERT_TRUE(QTest::qWaitFor([&] { return board.goals == 100; }, kWaitMs));
  std::map<int, int> perTurn;
  for (const int t : board.turns) ++perTurn[t];
  const auto most = std::max_element(perTurn.begin(), perTurn.end(),
                                     [](auto a, auto b) { return a.second < b.second; });
  EXPECT_LE(most->second, RemoteServer::kCommandSliceMs + 1);
}

// One device holds only a few of the session slots: its connections beyond them stay guests,
// which a full house may close, while another device's connection keeps its session.
TEST_F(RemoteServerTest, OneDeviceCannotTakeEverySessionSlot) {
  server.setConnectionLimits(
      {.maxConnections = 2, .maxPerAddress = 8, .maxSessions = 4, .maxSessionsPerDevice = 2});
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  port = server.port();
  const QByteArray first = pairedToken();
  const QByteArray second =
      pair(server.pin(), "127.0.0.2").json().value("token").toString().toUtf8();
  std::vector<std::unique_ptr<Page>> pages;
  for (const QByteArray& token : {first, first, first, second}) {
    pages.push_back(std::make_unique<Page>(port, token));
    ASSERT_TRUE(pages.back()->waitForMessages(1));
  }
  // A guest more than the house holds: the oldest guest makes room, the first device's third.
  QTcpSocket guest;
  guest.bind(QHostAddress("127.0.0.9"));
  guest.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(guest.waitForConnected(kWaitMs));
  QTcpSocket another;
  another.bind(QHostAddress("127.0.0.9"));
  another.connectToHost(QHostAddress::LocalHost, port);
  ASSERT_TRUE(another.waitForConnected(kWaitMs));
  EXPECT_TRUE(pages[2]->waitForClose());
  for (const int i : {0, 1, 3})
    EXPECT_EQ(pages[i]->socket.state(), QAbstractSocket::ConnectedState) << i;
}
