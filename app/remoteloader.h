#pragma once

// The remote control as the program sees it. Its web server, pages and pairing window need the
// network libraries, which a program whose remote stays off should not load: they live in the
// module scorvex-remote, loaded the first time the remote is switched on (the console's command
// "Fernbedienung", --remote, or a start while it ran at the last exit).

#include <QLibrary>
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

class Commands;
class QAction;
class QWidget;
struct Platform;

// What the module makes: the remote control for the running program (RemoteControl).
class Remote {
 public:
  virtual ~Remote() = default;
  // Starts the server on the stored port, or on `port` which is then stored, and shows the
  // pairing window; an error goes to the operator's error box.
  virtual void start(std::optional<int> port) = 0;
  // Why the match journal cannot be written (the console's red line), or empty; the phone page
  // shows it too.
  virtual void setJournalProblem(const QString& problem) = 0;
};

// The module's one entry point, found under this name.
using RemoteFactory = Remote* (*)(Commands& commands, Platform& platform);
inline constexpr char kRemoteFactoryName[] = "createRemote";

// Where the program looks for the module (see platform/module.h).
QStringList remoteModulePaths();

// Runs the console's command "Fernbedienung" (`command`): loads the module once and keeps the
// remote it makes until the program ends. A module that cannot be loaded is told in the error
// box over `window` each time the remote is asked for; the program goes on without it.
class RemoteLoader : public QObject {
 public:
  RemoteLoader(QAction& command, QWidget& window, Commands& commands, Platform& platform,
               QStringList modulePaths = remoteModulePaths());

  void start(std::optional<int> port = std::nullopt);
  // Kept for a remote made later, passed on to one made already.
  void setJournalProblem(const QString& problem);

 private:
  Remote* remote();

  QWidget& window_;
  Commands& commands_;
  Platform& platform_;
  const QStringList modulePaths_;
  QLibrary module_;  // never unloaded: the remote's code may run until the program ends
  std::unique_ptr<Remote> remote_;  // ends before the loader, while its code is still there
  QString journalProblem_;
};
