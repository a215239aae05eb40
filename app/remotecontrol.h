#pragma once

// The remote control in the running program. It owns the web server (RemoteServer) and its
// pairing window (PairingWindow) and is the board that server serves: the state comes from
// the session's match, its settings, running-text list and journal; every command is the
// session's command layer's own, so a tap on a phone does exactly what the operator's key does.
// It starts with the command "Fernbedienung" (Ctrl+R), with --remote, or at start-up when the
// server was running at the last exit; the settings keep whether it runs, its port and the overlay
// token. The program makes it through the module's entry point (see app/remoteloader.h).

#include <QObject>
#include <memory>
#include <optional>

#include "app/remoteloader.h"
#include "remote/remoteboard.h"

class Commands;
class MatchSession;
class RemoteServer;
class PairingWindow;
struct Notice;
struct Platform;

class RemoteControl : public QObject, public Remote, public RemoteBoard {
  Q_OBJECT

 public:
  RemoteControl(MatchSession& session, Platform& platform);
  ~RemoteControl() override;

  void start(std::optional<int> port = std::nullopt) override;
  // Why the match journal cannot be written (the console's red line), or empty; the pages show
  // it too. The session tells it.
  void setJournalProblem(const QString& problem);
  void stop();
  RemoteServer& server() { return *server_; }
  PairingWindow& window() { return *window_; }

  QJsonObject state() const override;
  QString apply(const RemoteCommand& command) override;

 private:
  Notice runCommand(const RemoteCommand& command);
  void setOverlayLocked(bool locked);

  Commands& commands_;
  Platform& platform_;
  std::unique_ptr<RemoteServer> server_;
  std::unique_ptr<PairingWindow> window_;
  QString journalProblem_;
};
