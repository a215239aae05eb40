#pragma once

#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

// One program per user: a lock beside the settings file and one in the journal's folder, so
// that two programs never write one journal or one settings file. A lock left by a program
// that was killed is taken over (the lock names its process, which no longer runs).
//
// A second start touches a file beside the lock instead; the running program sees it and
// brings its console to the front.
class InstanceLock : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kRunningMessage =
      QT_TR_NOOP("Scorvex läuft bereits – das laufende Programm wird nach vorn geholt.");

  // `places`: the files to lock (a ".lock" is added to each). One that is not an absolute path
  // (the settings in the Windows registry, which is per user anyway) is passed over.
  explicit InstanceLock(const QStringList& places, QObject* parent = nullptr);
  ~InstanceLock() override;

  // False when another program holds any of the locks; then none is held. A place where no
  // lock can be made is passed over.
  bool acquire();
  // Asks the program that holds the locks to bring its console to the front.
  void askToRaise() const;

 signals:
  void raiseRequested();

 private:
  QStringList places_;
  std::vector<std::unique_ptr<QLockFile>> locks_;
  QFileSystemWatcher watcher_;
};
