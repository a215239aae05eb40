#pragma once

// The window that pairs phones with the board: the address to open, its QR code, the PIN, the
// overlay's address for the stream, the teams' colours in the overlay, the port, and the paired
// devices with a button that drops one. It shows what RemoteServer says, tells it to drop a
// device and sets the overlay's colours (kept in the settings); stopping the server, starting it
// on another port and locking the overlay with a token are its owner's to do.

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class Dialogs;
class RemoteServer;
class Commands;

class PairingWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PairingWindow(RemoteServer& server, QWidget* parent = nullptr);

  // Shows the server's current address, PIN and devices; call after the server started.
  void refresh();
  void setOverlayLocked(bool locked);
  // The teams' overlay colours come from the settings and are kept there when changed here.
  void attachSettings(Commands& commands, Dialogs& dialogs);
  void setTeamColor(int team, const QColor& color);  // team 1 or 2
  // The server could not start: says why (in German, with the port) and offers `freePort`.
  void showPortProblem(const QString& message, int freePort);

 signals:
  void stopRequested();
  void overlayLockChanged(bool locked);
  void portRequested(int port);

 private:
  // The devices, and the addresses that sent wrong PINs.
  void showDevices();
  // How many read-only pages (the overlay, board pages) are connected.
  void showReaders();
  void showTeamColors();
  void pickTeamColor(int team);

  RemoteServer& server_;
  QLabel* LabelAddress;
  QLabel* ImageQr;
  QLabel* LabelPin;
  QLabel* LabelOverlay;
  QCheckBox* cbOverlayLock;
  QListWidget* ListDevices;
  QPushButton* bDrop;
  QPushButton* bStop;
  QPushButton* bColor1;
  QPushButton* bColor2;
  QSpinBox* sePort;
  QPushButton* bPort;
  QLabel* LabelPortProblem;
  QLabel* LabelGuesses;
  QLabel* LabelReaders;
  Commands* commands_ = nullptr;
  Dialogs* dialogs_ = nullptr;
};

// The address a phone on the same network opens: the first IPv4 address of a running network
// interface that is not the loopback, else the loopback.
QString boardAddress(quint16 port);
