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
#include "app/operatorkeys.h"
#include "app/remoteloader.h"
#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "remote/remoteserver.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "ticker/runtextcontrols.h"
#include "widgets/label3d.h"

namespace {

constexpr int kWaitMs = 5000;

class RemoteControlTest : public ::testing::Test {
 protected:
  RemoteControlTest() {
    console.attachWindows(nullptr, &display, nullptr, nullptr);
    keys->install(console);
  }

  // Runs the command; the refusal's words, empty when it ran.
  QString run(const char* json) {
    return remote.apply(std::get<RemoteCommand>(parseRemoteCommand(json)));
  }

  FakePlatform fake;
  Settings settings;
  MatchSession session{settings, fake.platform, QString()};
  Match& match = session.match();
  RunTextList& texts = session.texts();
  Commands& commands = session.commands();
  TFormCtrl console{fake.platform, session};
  TFormTablo display{fake.platform, settings, match};
  RemoteControl remote{session, fake.platform};
  OperatorKeys* keys = new OperatorKeys({session, console, {}, {}}, &console);
};

}  // namespace

TEST_F(RemoteControlTest, CommandsRunTheConsolesOwnCommands) {
  texts.load({"A", "B"}, true);
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
      {R"({"cmd":"textSelect","line":1})", [this](auto&) { return texts.selected() == 1; }},
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

TEST_F(RemoteControlTest, TapOnAPhoneShowsOnTheConsoleAndOnEveryPage) {
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

TEST_F(RemoteControlTest, CtrlRIsTheConsolesRemoteCommand) {
  QAction* mRemote = keys->action("mRemote");
  EXPECT_EQ(mRemote->text(), "Fernbedienung");
  EXPECT_EQ(mRemote->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
  for (QAction* other : console.findChildren<QAction*>()) {
    if (other == mRemote) continue;
    EXPECT_NE(other->shortcut(), mRemote->shortcut()) << other->objectName().toStdString();
  }
}

TEST(RemoteLoader, AModuleThatCannotBeLoadedIsToldInOneLineAndTheConsoleGoesOn) {
  FakePlatform fake;
  Settings settings;
  MatchSession session{settings, fake.platform, QString()};
  TFormCtrl console{fake.platform, session};
  RemoteLoader remote{session, fake.platform, {"/nowhere/scorvex-remote.so"}};
  OperatorKeys keys({session, console, {}, [&remote] { remote.start(); }}, nullptr);
  keys.action("mRemote")->trigger();
  ASSERT_EQ(fake.dialogs.errors.size(), 1);
  const QString& error = fake.dialogs.errors[0];
  EXPECT_EQ(error, "Die Fernbedienung ist nicht verfügbar: scorvex-remote.so fehlt in " +
                       QDir::toNativeSeparators("/nowhere") + ".");

  keys.action("N111")->trigger();  // F11
  EXPECT_EQ(session.match().state().score[0], 1);
}

TEST_F(RemoteControlTest, PenaltyCommandsGiveSetAndCancelOrSayWhyNot) {
  settings.change([](TSettings& s) { s.Sport = "icehockey"; });
  run(R"({"cmd":"penalty","team":1,"kind":"2+2","player":12})");
  ASSERT_EQ(match.state().teamPenalties[0].size(), 1u);
  const int id = match.state().teamPenalties[0][0].id;
  const struct {
    std::string json;
    const char* refused;  // nullptr: runs
  } rows[] = {
      {R"({"cmd":"penalty","team":1,"kind":"7"})",
       "Die Sportart \"icehockey\" kennt keine Strafe \"7\"."},
      {R"({"cmd":"penaltyTime","team":2,"id":)" + std::to_string(id) + R"(,"seconds":75})",
       "Mannschaft 2 hat keine Strafe 1."},
      {R"({"cmd":"penaltyCancel","team":1,"id":99})", "Mannschaft 1 hat keine Strafe 99."},
      {R"({"cmd":"foul","team":1,"delta":1})", "Die Sportart \"icehockey\" zählt keine Fouls."},
      {R"({"cmd":"penaltyTime","team":1,"id":)" + std::to_string(id) + R"(,"seconds":75})",
       nullptr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(run(row.json.c_str()), row.refused ? row.refused : "") << row.json;
  run((R"({"cmd":"penaltyTime","team":1,"id":)" + std::to_string(id) + R"(,"seconds":75})")
          .c_str());
  EXPECT_EQ(match.state().teamPenalties[0][0].text(), "1:15");

  // The state lists every penalty; the display's slots are apart from it.
  const QJsonObject state = remote.state();
  EXPECT_EQ(state["sport"].toString(), "icehockey");
  const QJsonObject home = state["teams"].toArray()[0].toObject();
  const QJsonObject penalty = home["penalties"].toArray()[0].toObject();
  EXPECT_EQ(penalty["kind"].toString(), "2+2");
  EXPECT_EQ(penalty["player"].toInt(), 12);
  EXPECT_EQ(penalty["state"].toString(), "armed");
  EXPECT_EQ(penalty["secondsLeft"].toInt(), 75);
  EXPECT_EQ(home["slots"].toArray()[0].toObject()["id"].toInt(), id);
  EXPECT_FALSE(home.contains("fouls"));

  run(R"({"cmd":"penaltyCancel","team":1,"id":1})");
  EXPECT_TRUE(match.state().teamPenalties[0].empty());
}

// Setting the time, undo, the horn and the mute switch, as the phone sends them; a refused
// one tells the sender the console's own German line.
TEST_F(RemoteControlTest, SetClockUndoHornAndMuteRunOrSayWhyNot) {
  EXPECT_EQ(run(R"({"cmd":"undo"})"), "Es gibt nichts rückgängig zu machen.");
  EXPECT_TRUE(remote.state()["undo"].isNull());
  const struct {
    const char* json;
    std::function<bool(const MatchState&)> done;
  } rows[] = {
      {R"({"cmd":"setClock","seconds":754})", [](auto& s) { return s.clockText() == "12:34"; }},
      {R"({"cmd":"goal","team":1})", [](auto& s) { return s.score[0] == 1; }},
      {R"({"cmd":"undo"})", [](auto& s) { return s.score[0] == 0 && s.clockText() == "12:34"; }},
      {R"({"cmd":"undo"})", [](auto& s) { return s.clockText() == "45:00"; }},
      {R"({"cmd":"mute","on":true})", [this](auto&) { return fake.sound.muted(); }},
      {R"({"cmd":"horn"})", [this](auto&) { return fake.sound.calls.last().hornMs > 0; }},
      {R"({"cmd":"mute","on":false})", [this](auto&) { return !fake.sound.muted(); }},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(run(row.json), "") << row.json;
    EXPECT_TRUE(row.done(match.state())) << row.json;
  }
  run(R"({"cmd":"mute","on":true})");
  EXPECT_TRUE(remote.state()["muted"].toBool());
  EXPECT_TRUE(settings.record().Muted);

  EXPECT_EQ(run(R"({"cmd":"setClock","seconds":2701})"),
            "45:01 liegt nicht zwischen 0:00 und 45:00.");
  run(R"({"cmd":"playPause"})");
  EXPECT_EQ(run(R"({"cmd":"setClock","seconds":60})"),
            "Die Zeit lässt sich nur bei stehender Uhr setzen.");
  // Malformed ones never reach the match.
  for (const char* bad :
       {R"({"cmd":"setClock"})", R"({"cmd":"setClock","seconds":-1})",
        R"({"cmd":"setClock","seconds":"12:34"})", R"({"cmd":"undo","n":2})", R"({"cmd":"mute"})"})
    EXPECT_TRUE(std::holds_alternative<CommandError>(parseRemoteCommand(bad))) << bad;
}

// The console's red line reaches every page at once, and leaves it once the journal is written
// again.
TEST_F(RemoteControlTest, TheJournalsRedLineIsInTheStateAndPushed) {
  RemoteServer& server = remote.server();
  ASSERT_TRUE(server.start(QHostAddress::LocalHost, 0));
  QWebSocket page;
  QList<QJsonObject> states;
  QObject::connect(&page, &QWebSocket::textMessageReceived, [&](const QString& m) {
    states << QJsonDocument::fromJson(m.toUtf8())["state"].toObject();
  });
  page.open(QUrl(QString("ws://127.0.0.1:%1/ws").arg(server.port())));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !states.isEmpty(); }, kWaitMs));
  EXPECT_TRUE(states.last()["journal"].isNull());

  const QString problem = "Spieljournal: Datenträger voll — das Spiel wird nicht gesichert";
  for (const QString& line : {problem, QString()}) {
    const qsizetype before = states.size();
    remote.setJournalProblem(line);
    ASSERT_TRUE(QTest::qWaitFor([&] { return states.size() > before; }, kWaitMs));
    const QJsonValue journal = states.last()["journal"];
    EXPECT_EQ(journal.isNull(), line.isEmpty());
    EXPECT_EQ(journal["problem"].toString(), line);
  }
}

// Every key the console carries is carried by one command only.
TEST_F(RemoteControlTest, NoTwoConsoleCommandsShareAKey) {
  QMap<QString, QString> seen;
  for (QAction* action : console.findChildren<QAction*>()) {
    if (action->shortcut().isEmpty() || action->shortcutContext() != Qt::WindowShortcut) continue;
    const QString key = action->shortcut().toString();
    EXPECT_FALSE(seen.contains(key))
        << key.toStdString() << " " << action->objectName().toStdString() << " "
        << seen.value(key).toStdString();
    seen.insert(key, action->objectName());
  }
  EXPECT_EQ(seen.value("Ctrl+T"), "mSetClock");
  EXPECT_EQ(seen.value("Ctrl+Backspace"), "mUndo");
}

// After the last half the phone's Play is refused with the console's line.
TEST_F(RemoteControlTest, PlayAfterTheLastPeriodIsRefusedOnThePhone) {
  commands.chooseSport("handball");
  match.setPeriod(2);
  match.playPause(fake.tick.now());
  fake.tick.advance(1'800'000);
  match.tick(fake.tick.now());
  EXPECT_TRUE(run(R"({"cmd":"playPause"})").startsWith("Das Spiel ist aus."));
}

// Time-outs from the phone: started, refused with the German reason, ended; the state carries
// the running one, the display's clock band and each team's used and left; the console's keys
// collide with no other.
TEST_F(RemoteControlTest, TimeoutsRunFromThePhoneWithTheSportsLimits) {
  commands.chooseSport("handball");
  const struct {
    const char* json;
    const char* refused;  // "": runs
    QJsonValue timeoutTeam;
    int homeUsed, homeLeft;
    const char* band;  // while it counts down; "": the clock
  } rows[] = {
      {R"({"cmd":"timeout","team":1})", "", 1, 1, 1, "AUSZEIT HEIM 1:00"},
      {R"({"cmd":"timeout","team":2})", "Es läuft schon eine Auszeit.", 1, 1, 1,
       "AUSZEIT HEIM 1:00"},
      {R"({"cmd":"timeoutEnd"})", "", QJsonValue(), 1, 1, ""},
      {R"({"cmd":"timeout","team":1})", "", 1, 2, 0, "AUSZEIT HEIM 1:00"},
      {R"({"cmd":"timeoutEnd"})", "", QJsonValue(), 2, 0, ""},
      {R"({"cmd":"timeout","team":1})", "Keine Auszeit mehr für HEIM in dieser Halbzeit.",
       QJsonValue(), 2, 0, ""},
      {R"({"cmd":"breakStart"})", "", QJsonValue(), 2, 0, "PAUSE 10:00"},
      {R"({"cmd":"timeout","team":2})", "In der Pause gibt es keine Auszeit.", QJsonValue(), 2, 0,
       "PAUSE 10:00"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(run(row.json), row.refused) << row.json;
    const QJsonObject state = remote.state();
    const QJsonObject timeout = state["timeout"].toObject();
    EXPECT_EQ(state["timeout"].isNull(), row.timeoutTeam.isNull()) << row.json;
    EXPECT_EQ(timeout["team"],
              row.timeoutTeam.isNull() ? QJsonValue(QJsonValue::Undefined) : row.timeoutTeam)
        << row.json;
    if (!timeout.isEmpty()) {
      EXPECT_EQ(timeout["secondsLeft"].toInt(), 60) << row.json;
    }
    const QJsonObject band = state["band"].toObject();
    EXPECT_EQ(band["countdown"].toBool(), *row.band != '\0') << row.json;
    if (*row.band) EXPECT_EQ(band["text"].toString(), row.band) << row.json;
    const QJsonObject home = state["teams"].toArray()[0].toObject();
    EXPECT_EQ(home["timeoutsUsed"].toInt(), row.homeUsed) << row.json;
    EXPECT_EQ(home["timeoutsLeft"].toInt(), row.homeLeft) << row.json;
  }
  EXPECT_EQ(remote.state()["break"].toObject()["secondsLeft"].toInt(), 600);

  for (QAction* key : {keys->action("mTimeout1"), keys->action("mTimeout2"),
                       keys->action("mTimeoutEnd"), keys->action("mBreak")})
    for (QAction* other : console.findChildren<QAction*>())
      if (other != key) {
        EXPECT_NE(other->shortcut(), key->shortcut()) << other->objectName().toStdString();
      }
}
