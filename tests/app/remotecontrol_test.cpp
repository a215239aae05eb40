#include "app/remotecontrol.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QListWidget>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <functional>

#include "app/formctrl.h"
#include "app/remoteloader.h"
#include "core/match.h"
#include "display/tablo.h"
#include "remote/remoteserver.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "ticker/runtextcontrols.h"
#include "widgets/label3d.h"

namespace {

constexpr int kWaitMs = 5000;

class RemoteControl : public ::testing::Test {
 protected:
  RemoteControl() { console.attachWindows(nullptr, &display, nullptr, nullptr); }

  void run(const char* json) { remote.apply(std::get<RemoteCommand>(parseRemoteCommand(json))); }

  FakePlatform fake;
  Settings settings;
  Match match;
  TFormCtrl console{fake.platform, settings, match};
  TFormTablo display{fake.platform, settings, match};
  TRemoteControl remote{console, match, settings, fake.platform};
};

}  // namespace

TEST_F(RemoteControl, CommandsRunTheConsolesOwnCommands) {
  console.RunText->ListStr()->addItems({"A", "B"});
  struct Row {
    const char* json;
    std::function<bool(const MatchState&)> done;
  } rows[] = {
      {R"({"cmd":"goal","team":2})", [](auto& s) { return s.score[1] == 1; }},
      {R"({"cmd":"goal","team":2,"delta":-1})", [](auto& s) { return s.score[1] == 0; }},
      {R"({"cmd":"penalty","team":2,"slot":2})", [](auto& s) { return s.penalties[3].armed; }},
      {R"({"cmd":"playPause"})", [](auto& s) { return s.clock == MatchClock::Running; }},
      {R"({"cmd":"period","value":3})", [](auto& s) { return s.period == 3; }},
      {R"({"cmd":"nextPeriod"})", [](auto& s) { return s.period == 4; }},
      {R"({"cmd":"black","on":true})", [](auto& s) { return s.blackScreen; }},
      {R"({"cmd":"black","on":true})", [](auto& s) { return s.blackScreen; }},
      {R"({"cmd":"showClock","on":false})", [](auto& s) { return !s.clockShown; }},
      {R"({"cmd":"textSelect","line":1})", [](auto&) { return true; }},
      {R"({"cmd":"textStart","mode":"static"})",
       [](auto& s) { return s.runText.shown && s.runText.text == "B"; }},
      {R"({"cmd":"textStop"})", [](auto& s) { return !s.runText.shown; }},
      {R"({"cmd":"reset"})", [](auto& s) { return s.clock == MatchClock::Ready && s.period == 0; }},
  };
  for (const Row& row : rows) {
    run(row.json);
    EXPECT_TRUE(row.done(match.state())) << row.json;
  }
  EXPECT_TRUE(fake.dialogs.asked.isEmpty());  // the phone asked "Reset GAME?" already
}

TEST_F(RemoteControl, TapOnAPhoneShowsOnTheConsoleAndOnEveryPage) {
  RemoteServer& server = remote.server();
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  const QByteArray body = R"({"pin":")" + server.pin().toUtf8() + R"("})";
  QTcpSocket pairing;
  pairing.connectToHost(QHostAddress::LocalHost, server.port());
  pairing.write(
      "POST /api/pair HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
      "Content-Length: " +
      QByteArray::number(body.size()) + "\r\n\r\n" + body);
  QByteArray reply;
  ASSERT_TRUE(QTest::qWaitFor([&] { return (reply += pairing.readAll()).endsWith("}"); }, kWaitMs));
  const QByteArray token =
      QJsonDocument::fromJson(reply.mid(reply.indexOf("\r\n\r\n") + 4))["token"]
          .toString()
          .toUtf8();

  QWebSocket phone, overlay;
  QStringList seen;
  QObject::connect(&overlay, &QWebSocket::textMessageReceived,
                   [&](const QString& m) { seen << m; });
  QNetworkRequest request(QUrl(QString("ws://127.0.0.1:%1/ws").arg(server.port())));
  overlay.open(request);
  request.setRawHeader("Cookie", "scorvex_session=" + token);
  phone.open(request);
  ASSERT_TRUE(QTest::qWaitFor([&] { return phone.isValid() && !seen.isEmpty(); }, kWaitMs));

  phone.sendTextMessage(R"({"cmd":"goal","team":1})");
  ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() >= 2; }, kWaitMs));
  EXPECT_EQ(match.state().score[0], 1);
  EXPECT_EQ(console.LabelC1->caption(), "1");
  const QJsonObject home =
      QJsonDocument::fromJson(seen.last().toUtf8())["state"]["teams"][0].toObject();
  EXPECT_EQ(home["score"].toInt(), 1);
  EXPECT_EQ(home["name"].toString(), "HEIM");
}

TEST_F(RemoteControl, CtrlRIsTheConsolesRemoteCommand) {
  EXPECT_EQ(console.mRemote->text(), "Fernbedienung");
  EXPECT_EQ(console.mRemote->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  for (QAction* other : console.findChildren<QAction*>()) {
    if (other == console.mRemote) continue;
    EXPECT_NE(other->shortcut(), console.mRemote->shortcut()) << other->objectName().toStdString();
  }
}

TEST(RemoteLoader, AModuleThatCannotBeLoadedIsToldInOneLineAndTheConsoleGoesOn) {
  FakePlatform fake;
  Settings settings;
  Match match;
  TFormCtrl console{fake.platform, settings, match};
  RemoteLoader remote{console, match, settings, fake.platform, {"/nowhere/scorvex-remote.so"}};
  console.mRemote->trigger();
  ASSERT_EQ(fake.dialogs.errors.size(), 1);
  const QString& error = fake.dialogs.errors[0];
  EXPECT_EQ(error, "Die Fernbedienung ist nicht verfügbar: scorvex-remote.so fehlt in " +
                       QDir::toNativeSeparators("/nowhere") + ".");

  console.N111->trigger();  // F11
  EXPECT_EQ(match.state().score[0], 1);
}
