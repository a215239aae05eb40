#pragma once

// The remote control as the program sees it. Its web server, pages and pairing window need the
// network libraries, which a program whose remote stays off should not load: they live in the
// module scorvex-remote, loaded the first time the remote is switched on (the key Ctrl+R
// "Fernbedienung", --remote, or a start while it ran at the last exit).

#include <QLibrary>
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

class MatchSession;
struct Platform;

// What the module makes: the remote control for the running program (RemoteControl).
class Remote {
 public:
  virtual ~Remote() = default;
  // Starts the server on the stored port, or on `port` which is then stored, and shows the
  // pairing window; an error goes to the operator's error box.
  virtual void start(std::optional<int> port) = 0;
};

// The module's one entry point, found under this name.
using RemoteFactory = Remote* (*)(MatchSession& session, Platform& platform);
inline constexpr char kRemoteFactoryName[] = "createRemote";

// Where the program looks for the module (see platform/module.h).
QStringList remoteModulePaths();

// Runs the command "Fernbedienung": loads the module once and keeps the remote it makes for the
// session until the program ends. A module that cannot be loaded is told in the error box over
// the active window each time the remote is asked for; the program goes on without it.
class RemoteLoader : public QObject {
 public:
  RemoteLoader(MatchSession& session, Platform& platform,
               QStringList modulePaths = remoteModulePaths());

  void start(std::optional<int> port = std::nullopt);

 private:
  Remote* remote();

  MatchSession& session_;
  Platform& platform_;
  const QStringList modulePaths_;
  QLibrary module_;  // never unloaded: the remote's code may run until the program ends
  std::unique_ptr<Remote> remote_;  // ends before the loader, while its code is still there
};
