#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// A lock the operating system holds for this process and drops when the process ends, however
// it ends (a kill, a crash, a power cut): an flock()ed file in the runtime folder on Linux, a
// named mutex of the session on Windows. A dead program's lock never stops the next start,
// whatever process id the next one gets.
class SystemLock {
 public:
  enum class State { Held, HeldByAnother, Failed };

  // Tries once, at once. `name` is a file name in `folder` or, on Windows, the mutex's name.
  SystemLock(const QString& folder, const QString& name);
  ~SystemLock();
  SystemLock(const SystemLock&) = delete;
  SystemLock& operator=(const SystemLock&) = delete;

  State state() const { return state_; }
  // Why it failed, in the system's words.
  QString error() const { return error_; }

  // Where the locks and the raise requests live: a folder of this user's that can always be
  // written ($XDG_RUNTIME_DIR; the temporary folder on Windows).
  static QString runtimeFolder();

 private:
  State state_ = State::Failed;
  QString error_;
  qintptr handle_ = -1;
};

// One program per user and journal, and per settings store: a lock for the journal's folder
// and one for the settings, so that two programs never write one journal or one settings file.
// The locks are named after those places but lie in the runtime folder, so that a full or
// read-only journal or settings folder never keeps the program from starting.
//
// A second start touches a file beside the lock instead; the running program sees it and
// brings its console to the front.
class InstanceLock : public QObject {
  Q_OBJECT

 public:
  // `places`: what the locks stand for (the journal's folder, the settings file or key);
  // `folder`: where the locks and the raise requests lie (made if missing).
  explicit InstanceLock(const QStringList& places,
                        const QString& folder = SystemLock::runtimeFolder(),
                        QObject* parent = nullptr);
  ~InstanceLock() override;

  // False only when another program holds one of the locks; then none is held. A lock that
  // cannot be made at all is passed over (see problems()): the program starts anyway.
  bool acquire();
  // What could not be made, one line each, for the terminal and the console.
  QStringList problems() const { return problems_; }
  // Asks the program that holds the locks to bring its console to the front.
  void askToRaise() const;

  // A start of the program: takes the locks, or, when another program holds them, asks that
  // one to come to the front and says so on the terminal and in a box; false then. What could
  // not be made is said on the terminal.
  bool startOrRaise();

  static QString runningMessage();

 signals:
  void raiseRequested();

 private:
  QString lockName(const QString& place) const;
  QString raisePath(const QString& place) const;

  QStringList places_;
  QString folder_;
  std::vector<std::unique_ptr<SystemLock>> locks_;
  QStringList problems_;
  QFileSystemWatcher watcher_;
};
