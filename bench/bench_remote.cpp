// The remote control under load, on loopback, with the real console, display and match:
//  - CommandToVisible: a goal sent by a phone until a second page has the new score (median
//    and 99th percentile; the target is under 20 ms);
//  - TwentyPagesWhileClockAndTickerRun: 20 pages connected and a phone tapping 10 times a
//    second while the clock and the running text run; how late a 10 ms timer fires in the
//    event loop they all share (the ticker's own cadence; the target is never over 5 ms),
//    next to the same with the server idle, which is what the machine's load alone costs;
//  - ThousandCommandsPerSecond: one client sending 1,000 goals a second for a second; how far
//    the board is behind when the last one is sent, and the timers' lateness meanwhile.
// Times are wall-clock milliseconds on this machine: the program's real tick counter runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/formctrl.h"
#include "app/remotecontrol.h"
#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "remote/remoteserver.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "ticker/runtextcontrols.h"

namespace {

// The program's windows on the real tick counter, with the remote control started.
struct Program {
  Program() {
    settings.change([](TSettings& s) { s.Time = 1'000'000; });  // no end of period meanwhile
    console.attachWindows(nullptr, &display, nullptr, nullptr);
    display.show();
    console.show();
    remote.server().setConnectionLimits({.maxConnections = 256, .maxPerAddress = 128});
    remote.server().start(QHostAddress::LocalHost, 0);
  }
  QByteArray pairedToken();

  FakePlatform fake;
  QtTickCounter tick;
  Platform platform{tick, fake.sound, fake.desktop, fake.dialogs, fake.help};
  Settings settings;
  MatchSession session{settings, platform, QString()};
  Match& match = session.match();
  RunTextList& texts = session.texts();
  Commands& commands = session.commands();
  TFormCtrl console{platform, session};
  TFormTablo display{platform, settings, match};
  RemoteControl remote{session, platform};
};

// Runs the event loop until `done` or `ms` have passed.
template <typename Done>
bool runUntil(Done done, int ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
  return done();
}

QByteArray Program::pairedToken() {
  const QByteArray body = "{\"pin\":\"" + remote.server().pin().toUtf8() + "\"}";
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, remote.server().port());
  socket.write(
      "POST /api/pair HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
      "Content-Length: " +
      QByteArray::number(body.size()) + "\r\n\r\n" + body);
  QByteArray reply;
  runUntil([&] { return (reply += socket.readAll()).endsWith("}"); });
  const QByteArray json = reply.mid(reply.indexOf("\r\n\r\n") + 4);
  return QJsonDocument::fromJson(json)["token"].toString().toUtf8();
}

struct Client {
  Client(quint16 port, const QByteArray& token = {}) {
    QNetworkRequest request(QUrl(QString("ws://127.0.0.1:%1/ws").arg(port)));
    if (!token.isEmpty()) request.setRawHeader("Cookie", "scorvex_session=" + token);
    QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) {
      ++messages;
      last = m;
    });
    socket.open(request);
  }
  int score(int team) const {
    const QJsonObject state = QJsonDocument::fromJson(last.toUtf8())["state"].toObject();
    return state["teams"].toArray()[team - 1].toObject()["score"].toInt();
  }
  QWebSocket socket;
  int messages = 0;
  QString last;
};

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

// How late a 10 ms timer fires in this thread's event loop.
class TimerProbe {
 public:
  TimerProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      if (last_ >= 0) lateMs.push_back(std::max(0.0, (now - last_) / 1e6 - 10.0));
      last_ = now;
    });
    clock_.start();
    timer_.start(10);
  }
  double maxLate() const {
    return lateMs.empty() ? 0 : *std::max_element(lateMs.begin(), lateMs.end());
  }
  std::vector<double> lateMs;

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = -1;
};

void CommandToVisible(benchmark::State& state) {
  Program program;
  const quint16 port = program.remote.server().port();
  Client phone(port, program.pairedToken()), page(port);
  runUntil([&] { return phone.messages > 0 && page.messages > 0; });
  std::vector<double> samples;
  for (auto _ : state) {
    const int before = page.score(1);
    QElapsedTimer clock;
    clock.start();
    phone.socket.sendTextMessage(R"({"cmd":"goal","team":1})");
    runUntil([&] { return page.score(1) == before + 1; });
    const double ms = clock.nsecsElapsed() / 1e6;
    samples.push_back(ms);
    state.SetIterationTime(ms / 1000);
  }
  state.counters["median_ms"] = percentile(samples, 0.5);
  state.counters["p99_ms"] = percentile(samples, 0.99);
  state.counters["target_ms"] = 20;
}
BENCHMARK(CommandToVisible)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(500);

void TwentyPagesWhileClockAndTickerRun(benchmark::State& state) {
  Program program;
  const quint16 port = program.remote.server().port();
  program.texts.load({"Willkommen in der Halle", "Nächstes Heimspiel"}, true);
  program.console.RunText->mStartAllClick();
  program.console.bPlayClick();
  // The same loop with the server idle: what the machine itself costs the timers.
  TimerProbe idle;
  runUntil([] { return false; }, 3000);
  state.counters["idle_late_max_ms"] = idle.maxLate();
  state.counters["idle_late_p99_ms"] = percentile(idle.lateMs, 0.99);
  Client phone(port, program.pairedToken());
  std::vector<std::unique_ptr<Client>> pages;
  for (int i = 0; i < 20; ++i) pages.push_back(std::make_unique<Client>(port));
  runUntil([&] {
    return std::all_of(pages.begin(), pages.end(), [](auto& p) { return p->messages > 0; });
  });
  QTimer taps;
  QObject::connect(&taps, &QTimer::timeout,
                   [&] { phone.socket.sendTextMessage(R"({"cmd":"goal","team":2})"); });
  for (auto _ : state) {
    TimerProbe probe;
    taps.start(100);
    const int pushed = pages.front()->messages;
    runUntil([] { return false; }, 3000);
    taps.stop();
    state.counters["late_max_ms"] = probe.maxLate();
    state.counters["late_p99_ms"] = percentile(probe.lateMs, 0.99);
    state.counters["pushes_per_page"] = pages.front()->messages - pushed;
  }
  state.counters["target_max_ms"] = 5;
}
BENCHMARK(TwentyPagesWhileClockAndTickerRun)->Unit(benchmark::kMillisecond)->Iterations(1);

void ThousandCommandsPerSecond(benchmark::State& state) {
  Program program;
  const quint16 port = program.remote.server().port();
  Client script(port, program.pairedToken());
  runUntil([&] { return script.messages > 0; });
  for (auto _ : state) {
    TimerProbe probe;
    const int before = program.match.state().score[0];
    int sent = 0;
    QElapsedTimer clock;
    clock.start();
    // 1,000 a second, paced by the clock: whatever is due is sent at each turn of the loop.
    runUntil(
        [&] {
          const int due = std::min<int>(1000, int(clock.elapsed()) + 1);
          for (; sent < due; ++sent) script.socket.sendTextMessage(R"({"cmd":"goal","team":1})");
          return sent == 1000;
        },
        3000);
    const double sendMs = clock.nsecsElapsed() / 1e6;
    runUntil([&] { return program.match.state().score[0] - before >= sent; });
    state.counters["applied"] = program.match.state().score[0] - before;
    state.counters["send_ms"] = sendMs;
    state.counters["behind_ms"] = clock.nsecsElapsed() / 1e6 - sendMs;
    state.counters["late_max_ms"] = probe.maxLate();
  }
}
BENCHMARK(ThousandCommandsPerSecond)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
