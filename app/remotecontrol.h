#pragma once

// The remote control in the running program. It owns the web server (RemoteServer) and its
// pairing window (PairingWindow) and is the board that server serves: the state comes from
// the match, the settings and the running-text list; every command is the command layer's
// own, so a tap on a phone does exactly what the console's key does. It starts with the
// console's command "Fernbedienung" (Ctrl+R), with --remote, or at start-up when the server
// was running at the last exit; the settings keep whether it runs, its port and the overlay
// token. The program makes it through the module's entry point (see app/remoteloader.h).

#include <QObject>
#include <memory>
#include <optional>

#include "app/remoteloader.h"
#include "remote/remoteboard.h"

class Commands;
class RemoteServer;
class PairingWindow;
struct Platform;

class RemoteControl : public QObject, public Remote, public RemoteBoard {
  Q_OBJECT

 public:
  RemoteControl(Commands& commands, Platform& platform);
  ~RemoteControl() override;

  void start(std::optional<int> port = std::nullopt) override;
  void setJournalProblem(const QString& problem) override;
  void stop();
  RemoteServer& server() { return *server_; }
  PairingWindow& window() { return *window_; }

  QJsonObject state() const override;
  void apply(const RemoteCommand& command) override;
  QString refusal(const RemoteCommand& command) const override;

 private:
  void setOverlayLocked(bool locked);

  Commands& commands_;
  Platform& platform_;
  std::unique_ptr<RemoteServer> server_;
  std::unique_ptr<PairingWindow> window_;
  QString journalProblem_;
};
