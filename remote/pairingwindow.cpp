#include "remote/pairingwindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPushButton>
#include <QVBoxLayout>

#include "remote/qrcode.h"
#include "remote/remoteserver.h"

namespace {
constexpr int kQrModulePixels = 6;
}

QString boardAddress(quint16 port) {
  QString host = "127.0.0.1";
  for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
    const auto flags = interface.flags();
    if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
        flags.testFlag(QNetworkInterface::IsLoopBack))
      continue;
    for (const QNetworkAddressEntry& entry : interface.addressEntries())
      if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
        return QString("http://%1:%2/").arg(entry.ip().toString()).arg(port);
  }
  return QString("http://%1:%2/").arg(host).arg(port);
}

TPairingWindow::TPairingWindow(RemoteServer& server, QWidget* parent)
    : QWidget(parent, Qt::Window), server_(server) {
  setObjectName("PairingWindow");
  setWindowTitle("Fernbedienung");
  auto* layout = new QVBoxLayout(this);

  auto* hint = new QLabel("Auf dem Telefon im selben Netz öffnen:", this);
  LabelAddress = new QLabel(this);
  LabelAddress->setObjectName("LabelAddress");
  LabelAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LabelAddress->setStyleSheet("font-size: 18px; font-weight: bold;");
  ImageQr = new QLabel(this);
  ImageQr->setObjectName("ImageQr");
  ImageQr->setAlignment(Qt::AlignCenter);
  LabelPin = new QLabel(this);
  LabelPin->setObjectName("LabelPin");
  LabelPin->setAlignment(Qt::AlignCenter);
  LabelPin->setStyleSheet("font-size: 36px; font-weight: bold; letter-spacing: 4px;");
  LabelOverlay = new QLabel(this);
  LabelOverlay->setObjectName("LabelOverlay");
  LabelOverlay->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cbOverlayLock = new QCheckBox("Overlay nur mit Schlüssel", this);
  cbOverlayLock->setObjectName("cbOverlayLock");
  ListDevices = new QListWidget(this);
  ListDevices->setObjectName("ListDevices");
  bDrop = new QPushButton("Trennen", this);
  bDrop->setObjectName("bDrop");
  bStop = new QPushButton("Server beenden", this);
  bStop->setObjectName("bStop");

  layout->addWidget(hint);
  layout->addWidget(LabelAddress);
  layout->addWidget(ImageQr);
  layout->addWidget(new QLabel("PIN:", this));
  layout->addWidget(LabelPin);
  layout->addWidget(LabelOverlay);
  layout->addWidget(cbOverlayLock);
  layout->addWidget(new QLabel("Verbundene Geräte:", this));
  layout->addWidget(ListDevices);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bDrop);
  buttons->addStretch();
  buttons->addWidget(bStop);
  layout->addLayout(buttons);

  connect(&server_, &RemoteServer::devicesChanged, this, &TPairingWindow::showDevices);
  connect(bDrop, &QPushButton::clicked, this, [this] {
    if (const QListWidgetItem* item = ListDevices->currentItem())
      server_.dropDevice(item->data(Qt::UserRole).toInt());
  });
  connect(bStop, &QPushButton::clicked, this, &TPairingWindow::stopRequested);
  connect(cbOverlayLock, &QCheckBox::clicked, this, &TPairingWindow::overlayLockChanged);
  refresh();
}

void TPairingWindow::refresh() {
  const QString address = boardAddress(server_.port());
  LabelAddress->setText(address);
  const QImage qr = qrCodeImage(address);
  ImageQr->setPixmap(QPixmap::fromImage(qr.scaled(qr.size() * kQrModulePixels)));
  LabelPin->setText(server_.pin());
  const QByteArray token = server_.overlayToken();
  LabelOverlay->setText("Overlay für den Stream: " + address + "overlay" +
                        (token.isEmpty() ? QString() : "?token=" + QString::fromUtf8(token)));
  showDevices();
}

void TPairingWindow::setOverlayLocked(bool locked) { cbOverlayLock->setChecked(locked); }

void TPairingWindow::showDevices() {
  ListDevices->clear();
  for (const Pairing::Device& device : server_.devices()) {
    auto* item = new QListWidgetItem(QString("%1 (%2)").arg(device.name, device.address));
    item->setData(Qt::UserRole, device.id);
    ListDevices->addItem(item);
  }
  bDrop->setEnabled(ListDevices->count() > 0);
  if (ListDevices->count() > 0) ListDevices->setCurrentRow(0);
}
