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
};
