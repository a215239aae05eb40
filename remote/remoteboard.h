#pragma once

#include <QJsonObject>

#include "remote/remotecommand.h"

// What the remote server takes from the program: the state its pages show, as JSON, and the
// commands it may run. The program tells the server of every change (RemoteServer::boardChanged).
class RemoteBoard {
 public:
  virtual ~RemoteBoard() = default;
  virtual QJsonObject state() const = 0;
  virtual void apply(const RemoteCommand& command) = 0;
  // Why the command cannot run now (a penalty kind the sport does not have, an unknown
  // penalty), which the sender gets with status 400; empty when it can.
  virtual QString refusal(const RemoteCommand&) const { return {}; }
};
