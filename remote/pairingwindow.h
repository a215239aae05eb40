#pragma once

// The window that pairs phones with the board: the address to open, its QR code, the PIN, the
// overlay's address for the stream, and the paired devices with a button that drops one.
// It shows what RemoteServer says and tells it only to drop a device; stopping the server and
// locking the overlay with a token are its owner's to do.

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class RemoteServer;

class TPairingWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TPairingWindow(RemoteServer& server, QWidget* parent = nullptr);

  // Shows the server's current address, PIN and devices; call after the server started.
  void refresh();
  void setOverlayLocked(bool locked);

 signals:
  void stopRequested();
  void overlayLockChanged(bool locked);

 private:
  void showDevices();

  RemoteServer& server_;
  QLabel* LabelAddress;
  QLabel* ImageQr;
  QLabel* LabelPin;
  QLabel* LabelOverlay;
  QCheckBox* cbOverlayLock;
  QListWidget* ListDevices;
  QPushButton* bDrop;
  QPushButton* bStop;
};

// The address a phone on the same network opens: the first IPv4 address of a running network
// interface that is not the loopback, else the loopback.
QString boardAddress(quint16 port);
