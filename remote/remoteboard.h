#pragma once

#include <QJsonObject>

#include "remote/remotecommand.h"

// What the remote server takes from the program: the state its pages show, as JSON, and the
// commands it may run. The program tells the server of every change (RemoteServer::boardChanged).
class RemoteBoard {
 public:
  virtual ~RemoteBoard() = default;
  virtual QJsonObject state() const = 0;
  // Runs the command; when it cannot run now (a penalty kind the sport does not have, an
  // unknown penalty) it changes nothing and says why, which the sender gets with status 400.
  virtual QString apply(const RemoteCommand& command) = 0;
};
