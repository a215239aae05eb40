#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <variant>

// The checks of a pairing request (POST /api/pair) before its PIN is tried. A web page elsewhere
// must not pair through the visitor's browser: the Host it was sent to is an IP address,
// "localhost" or one of this computer's own names (a name that only resolves to us, as DNS
// rebinding makes one, is refused), and a browser's Origin is that same host.
struct PairRequest {
  QString pin;
  QString name;  // what the device list shows
};
struct PairRefusal {
  int status;
  QString message;  // in English, like the rest of the interface
};

std::variant<PairRequest, PairRefusal> checkPairRequest(
    const QByteArray& body, const QByteArray& contentType, const QByteArray& host,
    const QByteArray& origin, const QByteArray& userAgent, const QStringList& ownNames);

// True when `host` (a Host header: name or address, optionally with ":port") is an IP literal,
// "localhost" or one of `ownNames` (compared without case).
bool isOwnHost(const QByteArray& host, const QStringList& ownNames);
// This computer's own names: its host name, with its domain, and its ".local" name.
QStringList ownHostNames();

// A short name for the device list: the name the device sent (cleaned and shortened), else one
// made from its browser string ("iPhone", "Android", "Firefox unter Windows").
QString deviceName(const QString& sent, const QByteArray& userAgent);
