#include "remote/pairingwindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "commands/commands.h"
#include "platform/dialogs.h"
#include "remote/qrcode.h"
#include "remote/remoteserver.h"
#include "settings/settings.h"

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

PairingWindow::PairingWindow(RemoteServer& server, QWidget* parent)
    : QWidget(parent, Qt::Window), server_(server) {
  setObjectName("PairingWindow");
  setWindowTitle(tr("Fernbedienung"));
  auto* layout = new QVBoxLayout(this);

  auto* hint = new QLabel(tr("Auf dem Telefon im selben Netz öffnen:"), this);
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
  cbOverlayLock = new QCheckBox(tr("Overlay nur mit Schlüssel"), this);
  cbOverlayLock->setObjectName("cbOverlayLock");
  ListDevices = new QListWidget(this);
  ListDevices->setObjectName("ListDevices");
  bDrop = new QPushButton(tr("Trennen"), this);
  bDrop->setObjectName("bDrop");
  bStop = new QPushButton(tr("Server beenden"), this);
  bStop->setObjectName("bStop");
  bColor1 = new QPushButton(tr("Farbe Heim …"), this);
  bColor1->setObjectName("bColor1");
  bColor2 = new QPushButton(tr("Farbe Gast …"), this);
  bColor2->setObjectName("bColor2");
  bColor1->setEnabled(false);
  bColor2->setEnabled(false);
  sePort = new QSpinBox(this);
  sePort->setObjectName("sePort");
  sePort->setRange(1, 65535);
  bPort = new QPushButton(tr("Auf diesem Port starten"), this);
  bPort->setObjectName("bPort");
  LabelPortProblem = new QLabel(this);
  LabelPortProblem->setObjectName("LabelPortProblem");
  LabelPortProblem->setStyleSheet("color: #c00000; font-weight: bold;");
  LabelPortProblem->setWordWrap(true);
  LabelPortProblem->hide();
  LabelGuesses = new QLabel(this);
  LabelGuesses->setObjectName("LabelGuesses");
  LabelGuesses->setStyleSheet("color: #c00000; font-weight: bold;");
  LabelGuesses->hide();
  LabelReaders = new QLabel(this);
  LabelReaders->setObjectName("LabelReaders");

  layout->addWidget(LabelPortProblem);
  layout->addWidget(hint);
  layout->addWidget(LabelAddress);
  layout->addWidget(ImageQr);
  layout->addWidget(new QLabel(tr("PIN:"), this));
  layout->addWidget(LabelPin);
  layout->addWidget(LabelOverlay);
  layout->addWidget(cbOverlayLock);
  layout->addWidget(LabelReaders);
  auto* colors = new QHBoxLayout;
  colors->addWidget(new QLabel(tr("Overlay-Farben:"), this));
  colors->addWidget(bColor1);
  colors->addWidget(bColor2);
  colors->addStretch();
  layout->addLayout(colors);
  auto* port = new QHBoxLayout;
  port->addWidget(new QLabel(tr("Port:"), this));
  port->addWidget(sePort);
  port->addWidget(bPort);
  port->addStretch();
  layout->addLayout(port);
  layout->addWidget(new QLabel(tr("Verbundene Geräte:"), this));
  layout->addWidget(ListDevices);
  layout->addWidget(LabelGuesses);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bDrop);
  buttons->addStretch();
  buttons->addWidget(bStop);
  layout->addLayout(buttons);

  connect(&server_, &RemoteServer::devicesChanged, this, &PairingWindow::showDevices);
  connect(&server_, &RemoteServer::readersChanged, this, &PairingWindow::showReaders);
  connect(bDrop, &QPushButton::clicked, this, [this] {
    if (const QListWidgetItem* item = ListDevices->currentItem())
      server_.dropDevice(item->data(Qt::UserRole).toInt());
  });
  connect(bStop, &QPushButton::clicked, this, &PairingWindow::stopRequested);
  connect(cbOverlayLock, &QCheckBox::clicked, this, &PairingWindow::overlayLockChanged);
  connect(bColor1, &QPushButton::clicked, this, [this] { pickTeamColor(1); });
  connect(bColor2, &QPushButton::clicked, this, [this] { pickTeamColor(2); });
  connect(bPort, &QPushButton::clicked, this, [this] { emit portRequested(sePort->value()); });
  refresh();
}

void PairingWindow::attachSettings(Commands& commands, Dialogs& dialogs) {
  commands_ = &commands;
  dialogs_ = &dialogs;
  bColor1->setEnabled(true);
  bColor2->setEnabled(true);
  showTeamColors();
}

void PairingWindow::pickTeamColor(int team) {
  if (!commands_ || !dialogs_) return;
  const TSettings& s = commands_->settings().record();
  const std::optional<TColor> picked =
      dialogs_->pickColor(this, team == 1 ? s.RemoteColor1 : s.RemoteColor2);
  if (picked) setTeamColor(team, toQColor(*picked));
}

void PairingWindow::setTeamColor(int team, const QColor& color) {
  if (!commands_ || !color.isValid()) return;
  commands_->setOverlayColor(team, fromQColor(color));
  showTeamColors();
}

void PairingWindow::showTeamColors() {
  const TSettings& s = commands_->settings().record();
  const QColor home = toQColor(s.RemoteColor1), guest = toQColor(s.RemoteColor2);
  server_.setTeamColors(home, guest);
  for (auto [button, color] : {std::pair{bColor1, home}, std::pair{bColor2, guest}}) {
    const QString text = color.lightnessF() > 0.6 ? "#000000" : "#ffffff";
    button->setStyleSheet(QString("background: %1; color: %2;").arg(color.name(), text));
  }
}

void PairingWindow::showPortProblem(const QString& message, int freePort) {
  LabelPortProblem->setText(
      freePort > 0 ? message + tr(" Frei ist zum Beispiel Port %1.").arg(freePort) : message);
  LabelPortProblem->show();
  if (freePort > 0) sePort->setValue(freePort);
}

void PairingWindow::refresh() {
  if (!server_.isRunning()) {
    // Nothing to open yet: no address, code or PIN that would lead nowhere.
    LabelAddress->setText(tr("Der Server läuft nicht."));
    ImageQr->clear();
    LabelPin->clear();
    LabelOverlay->clear();
    showDevices();
    return;
  }
  LabelPortProblem->hide();
  sePort->setValue(server_.port());
  const QString address = boardAddress(server_.port());
  LabelAddress->setText(address);
  const QImage qr = qrCodeImage(address);
  ImageQr->setPixmap(QPixmap::fromImage(qr.scaled(qr.size() * kQrModulePixels)));
  LabelPin->setText(server_.pin());
  const QByteArray token = server_.overlayToken();
  LabelOverlay->setText(tr("Overlay für den Stream: ") + address + "overlay" +
                        (token.isEmpty() ? QString() : "?token=" + QString::fromUtf8(token)));
  showDevices();
}

void PairingWindow::setOverlayLocked(bool locked) { cbOverlayLock->setChecked(locked); }

void PairingWindow::showDevices() {
  LabelPin->setText(server_.pin());  // a new one after a number of pairings
  ListDevices->clear();
  for (const Pairing::Device& device : server_.devices()) {
    auto* item = new QListWidgetItem(QString("%1 (%2)").arg(device.name, device.address));
    item->setData(Qt::UserRole, device.id);
    ListDevices->addItem(item);
  }
  bDrop->setEnabled(ListDevices->count() > 0);
  if (ListDevices->count() > 0) ListDevices->setCurrentRow(0);
  // Someone guesses the PIN: the operator should know, and may start the server anew.
  const int guessing = server_.guessingAddresses();
  LabelGuesses->setText(tr("Falsche PINs von %n Adressen", nullptr, guessing));
  LabelGuesses->setVisible(guessing > 0);
  showReaders();
}

void PairingWindow::showReaders() {
  LabelReaders->setText(tr("Zuschauer nur lesend (Overlay, Anzeige): %1").arg(server_.readers()));
}
