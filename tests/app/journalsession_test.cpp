#include "session/journalsession.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>

#include "app/instancelock.h"
#include "app/reportcommand.h"
#include "core/match.h"
#include "journal/matchjournal.h"
#include "support/fakes.h"

namespace {

TEST(JournalSession, OffersAnUnfinishedMatchAndFilesItWhenDeclinedOrDamaged) {
  struct Row {
    const char* name;
    int goals;  // before the crash
    bool damaged;
    bool answer;
    int questions;
    int home;   // after start-up
    int filed;  // finished matches after start-up
  } rows[] = {
      {"Ja", 3, false, true, 1, 3, 0},
      {"Nein", 3, false, false, 1, 0, 1},
      {"damaged", 3, true, true, 0, 0, 1},
      {"nothing happened", 0, false, true, 0, 0, 0},
  };
  for (const Row& row : rows) {
    QTemporaryDir folder;
    FakeTick tick;
    {  // A run that dies without finishing its journal.
      Match match;
      JournalSession crashed(folder.path(), match, tick);
      crashed.open([](const QString&) { return false; });
      for (int goal = 0; goal < row.goals; ++goal) match.changeScore(1, +1);
    }
    JournalStore store(folder.path());
    if (row.damaged) {
      QFile file(store.currentPath());
      ASSERT_TRUE(file.open(QIODevice::ReadWrite));
      file.write("####");  // no longer a journal at all (a damaged head alone is read past)
    }

    Match match;
    JournalSession session(folder.path(), match, tick);
    int questions = 0;
    const auto resumed = session.open([&](const QString& question) {
      ++questions;
      EXPECT_EQ(question, "Das letzte Spiel wurde nicht beendet. Spiel fortsetzen?");
      return row.answer;
    });
    EXPECT_EQ(questions, row.questions) << row.name;
    EXPECT_EQ(match.state().score[0], row.home) << row.name;
    EXPECT_EQ(resumed.has_value(), row.home > 0) << row.name;
    // A declined or damaged match is kept among the finished ones, and recording goes on.
    EXPECT_EQ(store.finishedPaths().size(), row.filed) << row.name;
    EXPECT_TRUE(store.hasCurrent()) << row.name;
    // The match goes on; ended normally in the middle it stays for the next start, and a run
    // in which nothing happened leaves nothing.
    if (row.goals) match.changeScore(2, +1);
    session.finish();
    EXPECT_EQ(store.hasCurrent(), row.goals > 0) << row.name;
    EXPECT_EQ(store.finishedPaths().size(), row.filed) << row.name;
  }
}

TEST(JournalSession, AMatchEndedNormallyInTheMiddleComesBackWhileTheDisplayIsBlack) {
  struct Row {
    const char* name;
    bool answer;
    int home;
    int filed;
  } rows[] = {{"Ja", true, 2, 0}, {"Nein", false, 0, 1}};
  for (const Row& row : rows) {
    QTemporaryDir folder;
    FakeTick tick;
    {  // "Programm beenden?" -> Ja in the middle of the match.
      Match match;
      JournalSession ended(folder.path(), match, tick);
      ended.open([](const QString&) { return false; });
      match.changeScore(1, +2);
      ended.finish();
    }
    Match match;
    JournalSession session(folder.path(), match, tick);
    bool blackWhileAsked = false;
    session.open([&](const QString&) {
      blackWhileAsked = match.state().blackScreen;
      return row.answer;
    });
    EXPECT_TRUE(blackWhileAsked) << row.name;
    EXPECT_FALSE(match.state().blackScreen) << row.name;
    EXPECT_EQ(match.state().score[0], row.home) << row.name;
    EXPECT_EQ(JournalStore(folder.path()).finishedPaths().size(), row.filed) << row.name;
  }
}

TEST(JournalSession, TheQuestionSaysWhenPartOfTheRecordIsDamagedOrMissing) {
  JournalContents missing;
  missing.missingFrom = QDateTime::currentDateTime();
  JournalContents damaged;
  damaged.damagedLines = 1;
  const QDateTime now = QDateTime::currentDateTime();
  JournalContents old;
  old.lastWall = now.addSecs(-95 * 60);
  struct Row {
    const char* name;
    JournalContents contents;
    bool unwritable;
    QString says;
  } rows[] = {
      {"whole", JournalContents{}, false, ""},
      {"damaged", damaged, false, "Journal teils beschädigt"},
      {"missing", missing, false, "Journal fehlt ab "},
      {"not writable", old, true,
       "Stand von " + old.lastWall.toString("HH:mm") + " (vor 95 Min.), spätere Änderungen fehlen"},
      {"writable", old, false, ""},
  };
  for (const Row& row : rows) {
    const QString note = JournalSession::recordNote(row.contents, row.unwritable, now);
    const QString& says = row.says;
    EXPECT_EQ(note.left(says.size()), says) << row.name;
    EXPECT_EQ(note.isEmpty(), says.isEmpty()) << row.name;
  }

  // A line in the middle of a crashed match damaged: the question says so in its second line,
  // and the last good state comes back.
  QTemporaryDir folder;
  FakeTick tick;
  {
    Match match;
    JournalSession crashed(folder.path(), match, tick);
    crashed.open([](const QString&) { return false; });
    for (int goal = 0; goal < 5; ++goal) match.changeScore(1, +1);
  }
  JournalStore store(folder.path());
  QFile file(store.currentPath());
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  const QList<QByteArray> lines = file.readAll().split('\n');
  file.seek(lines[0].size() + lines[1].size() + lines[2].size() + lines[3].size() + 4 + 20);
  file.write("#");
  file.close();
  Match match;
  JournalSession session(folder.path(), match, tick);
  QString asked;
  session.open([&](const QString& question) {
    asked = question;
    return true;
  });
  EXPECT_EQ(asked.section('\n', 0, 0), JournalSession::kResumeQuestion);
  EXPECT_TRUE(asked.section('\n', 1).startsWith(QString::fromUtf8("Journal teils")))
      << qPrintable(asked);
  EXPECT_EQ(match.state().score[0], 5);
}

// A match left in a folder that has become read-only is offered with its age: the last run
// could not have recorded what came later either.
TEST(JournalSession, AReadOnlyFolderSaysHowOldTheMatchIs) {
  QTemporaryDir folder;
  FakeTick tick;
  {
    Match match;
    JournalSession crashed(folder.path(), match, tick);
    crashed.open([](const QString&) { return false; });
    match.changeScore(1, +1);
  }
  const QString current = JournalStore(folder.path()).currentPath();
  const auto readWrite = QFile::permissions(folder.path());
  QFile::setPermissions(current, QFileDevice::ReadOwner);
  QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  // Permissions do not hold for root: the file is then made immutable.
  const int fd = ::open(QFile::encodeName(current).constData(), O_RDONLY);
  int flags = 0;
  const bool immutable = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                         (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
  const auto restore = qScopeGuard([&] {
    flags &= ~FS_IMMUTABLE_FL;
    if (immutable) ioctl(fd, FS_IOC_SETFLAGS, &flags);
    if (fd >= 0) ::close(fd);
    QFile::setPermissions(folder.path(), readWrite);
    QFile::setPermissions(current, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  });
  if (QFile probe(current); probe.open(QIODevice::Append))
    GTEST_SKIP() << "neither permissions nor the immutable flag hold here";
  Match match;
  JournalSession session(folder.path(), match, tick);
  QString asked;
  session.open([&](const QString& question) {
    asked = question;
    return true;
  });
  EXPECT_TRUE(asked.section('\n', 1).contains(QString::fromUtf8("spätere Änderungen fehlen")))
      << qPrintable(asked);
  EXPECT_EQ(match.state().score[0], 1);
}

// Two goals, then a reset: after a crash the reset can still be taken back, and with it the
// match's record comes back from the journal the reset filed; after a normal end it is final.
TEST(JournalSession, AResetCanBeTakenBackAfterACrashButNotAfterAnEnd) {
  struct Row {
    const char* name;
    bool ended;       // the program was ended normally after the reset, else killed
    int goalsAfter;   // given after the reset, before the end
    int questions;    // at the next start
    qsizetype steps;  // given back to the command layer
  } rows[] = {
      {"killed right after the reset", false, 0, 0, 3},
      {"killed after a goal of the next match", false, 1, 1, 4},
      {"ended right after the reset", true, 0, 0, 0},
  };
  for (const Row& row : rows) {
    QTemporaryDir folder;
    FakeTick tick;
    {
      Match match;
      JournalSession first(folder.path(), match, tick);
      first.open([](const QString&) { return false; });
      match.playPause(0);
      const auto withStep = [&](const char* command, int team) {
        const MatchSnapshot before = match.snapshot(0);
        team ? match.changeScore(team, +1) : match.reset();
        first.recordUndoStep({command, before, match.snapshot(0)});
      };
      withStep("goal", 1);
      withStep("goal", 1);
      withStep("reset", 0);
      for (int goal = 0; goal < row.goalsAfter; ++goal) withStep("goal", 2);
      if (row.ended) first.finish();
    }

    Match match;
    JournalSession session(folder.path(), match, tick);
    int questions = 0;
    const auto resumed = session.open([&](const QString&) { return ++questions, true; });
    EXPECT_EQ(questions, row.questions) << row.name;
    const QList<UndoStep> steps = resumed ? resumed->undoSteps : QList<UndoStep>();
    ASSERT_EQ(steps.size(), row.steps) << row.name;
    for (qsizetype n = steps.size() - 1; n >= 2; --n)  // newest first, the reset last
      match.undo(steps[n].before, steps[n].after, steps[n].command, 0);
    if (steps.isEmpty()) continue;
    EXPECT_EQ(match.state().score, (std::array<int, 2>{2, 0})) << row.name;
    // The journal holds the whole match again: both goals before the reset.
    const JournalReading journal = readJournalFile(JournalStore(folder.path()).currentPath());
    ASSERT_TRUE(journal.contents) << row.name;
    EXPECT_EQ(std::count_if(journal.contents->events.begin(), journal.contents->events.end(),
                            [](const MatchEvent& e) { return e.kind == MatchEvent::Kind::Goal; }),
              2 + row.goalsAfter)
        << row.name;
  }
}

TEST(InstanceLock, ASecondProgramIsRefusedAndAKilledOnesLockIsTakenOver) {
  QTemporaryDir folder;
  const QStringList places{folder.filePath("state/scorvex"), folder.filePath("Scorvex.reg")};
  {
    InstanceLock running(places);
    ASSERT_TRUE(running.acquire());
    InstanceLock second(places);
    EXPECT_FALSE(second.acquire());
    QSignalSpy raised(&running, &InstanceLock::raiseRequested);
    second.askToRaise();
    EXPECT_TRUE(raised.wait(3000));
    // Only the settings are shared: still refused.
    InstanceLock sameSettings({folder.filePath("other/scorvex"), places[1]});
    EXPECT_FALSE(sameSettings.acquire());
  }
  // A program killed while it held the locks.
  const pid_t child = fork();
  if (child == 0) {
    InstanceLock killed(places);
    if (killed.acquire()) ::kill(::getpid(), SIGKILL);
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_TRUE(QFile::exists(places[0] + ".lock"));
  InstanceLock next(places);
  EXPECT_TRUE(next.acquire());

  // A file where the journal's folder should be does not stop the start.
  QFile blocking(folder.filePath("blocked"));
  ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
  InstanceLock blocked({folder.filePath("blocked/scorvex"), folder.filePath("other.reg")});
  EXPECT_TRUE(blocked.acquire());
}

TEST(SaveReport, WritesCsvAndJsonUnderThePickedNameOrTellsWhyNot) {
  QTemporaryDir folder;
  const QString journalPath = folder.filePath("match.journal");
  FakeTick tick;
  Match match;
  MatchJournal journal(match, tick, journalPath);
  match.playPause(tick.now());
  match.changeScore(1, +1);
  match.changeScore(2, +1);

  FakeDialogs dialogs;
  dialogs.fileToSave = folder.filePath("Bericht");
  saveReport(dialogs, nullptr, journalPath);
  EXPECT_TRUE(dialogs.errors.isEmpty());
  QFile csv(folder.filePath("Bericht.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  // Title, names, start, a blank line, header, period start, two goals.
  EXPECT_EQ(csv.readAll().count('\n'), 9);
  QFile json(folder.filePath("Bericht.json"));
  ASSERT_TRUE(json.open(QIODevice::ReadOnly));
  EXPECT_EQ(QJsonDocument::fromJson(json.readAll())["events"].toArray().size(), 3);

  dialogs.fileToSave = folder.filePath("no such folder/Bericht.csv");
  saveReport(dialogs, nullptr, journalPath);
  saveReport(dialogs, nullptr, folder.filePath("no such journal"));
  ASSERT_EQ(dialogs.errors.size(), 2);
  EXPECT_TRUE(dialogs.errors[0].startsWith("Datei")) << qPrintable(dialogs.errors[0]);
  EXPECT_TRUE(dialogs.errors[1].startsWith("Kein Spielbericht")) << qPrintable(dialogs.errors[1]);
}

// The lines "name: value" a scripted program reports, once `count` of them have arrived.
QMap<QString, QString> reports(QProcess& program, int count) {
  QMap<QString, QString> seen;
  while (seen.size() < count) {
    if (!program.canReadLine() && !program.waitForReadyRead(20'000)) break;
    while (program.canReadLine()) {
      const QString line = QString::fromUtf8(program.readLine()).trimmed();
      seen.insert(line.section(": ", 0, 0), line.section(": ", 1));
    }
  }
  return seen;
}

int seconds(const QString& clock) {
  return clock.section(':', 0, 0).toInt() * 60 + clock.section(':', 1).toInt();
}

// Two runs of the scripted program with one user of their own.
struct TwoPrograms : testing::Test {
  TwoPrograms() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
      environment.insert(name, home.filePath(name));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    for (QProcess* program : {&first, &second}) program->setProcessEnvironment(environment);
  }
  QTemporaryDir home;
  QProcess first, second;
};

TEST_F(TwoPrograms, AMatchKilledMidwayComesBackWithOneJa) {
  first.start(SCRIPTED_PROGRAM, {"play"});
  const QString killedAt = reports(first, 1).value("clock");
  ASSERT_FALSE(killedAt.isEmpty()) << first.readAllStandardError().constData();
  ::kill(pid_t(first.processId()), SIGKILL);
  first.waitForFinished();
  // F4 changed a setting: it is stored already, though the program never ended.
  QFile stored(home.filePath("XDG_CONFIG_HOME") + "/Merrowtide/Scorvex.reg");
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_TRUE(stored.readAll().contains("\"CountDown\"=dword:00000000"));

  second.start(SCRIPTED_PROGRAM, {"resume"});
  const QMap<QString, QString> seen = reports(second, 10);
  EXPECT_EQ(seen.value("question"), "Das letzte Spiel wurde nicht beendet. Spiel fortsetzen?");
  EXPECT_EQ(seen.value("score"), "3:2");
  EXPECT_EQ(seen.value("period"), "1");
  EXPECT_EQ(seen.value("countdown"), "off");
  EXPECT_EQ(seen.value("clock shown"), "off");
  EXPECT_EQ(seen.value("texts"), "Neue Zeile");
  EXPECT_EQ(seen.value("play"), "Play");  // paused, one Play goes on
  // The clock stands where the killed program last showed it, or a moment later.
  EXPECT_GE(seconds(seen.value("clock")), seconds(killedAt)) << qPrintable(killedAt);
  // The penalty started with the clock; the clock turns its second 900 ms early.
  EXPECT_LE(seconds(seen.value("penalty")), 121 - seconds(killedAt));
  // The killed program's last commands can still be taken back; the slot shows the time of the
  // next penalty again, where the one that ran since Play showed less.
  EXPECT_EQ(seen.value("three undone").toStdString(), "3:1 period 0 penalty 2:00");
  second.waitForFinished();
}

TEST_F(TwoPrograms, ASecondStartSaysScorvexIsRunningAndTouchesNeitherJournalNorSettings) {
  first.start(SCRIPTED_PROGRAM, {"play"});
  ASSERT_FALSE(reports(first, 1).value("clock").isEmpty());
  const QString state = home.filePath("XDG_STATE_HOME") + "/Merrowtide/Scorvex";
  const QString settingsPath = home.filePath("XDG_CONFIG_HOME") + "/Merrowtide/Scorvex.reg";
  QFile settings(settingsPath);
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  const QByteArray settingsBefore = settings.readAll();
  settings.close();

  second.start(SCRIPTED_PROGRAM, {});
  ASSERT_TRUE(second.waitForFinished(20'000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError())
                  .trimmed()
                  .section('\n', -1)
                  .endsWith(InstanceLock::kRunningMessage));
  EXPECT_TRUE(QFile::exists(state + "/current.journal"));
  EXPECT_TRUE(JournalStore(state).finishedPaths().isEmpty());
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_EQ(settings.readAll(), settingsBefore);
  EXPECT_EQ(first.state(), QProcess::Running);
  ::kill(pid_t(first.processId()), SIGKILL);
  first.waitForFinished();
}

}  // namespace
