#include "remote/pairrequest.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QHostInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "remote/remotecommand.h"

namespace {

constexpr int kMaxNameLength = 40;

struct Words {
  Q_DECLARE_TR_FUNCTIONS(PairRequest)
};

// The host part of a Host header: "[::1]:8440" gives "::1", "name:8440" gives "name".
QString hostPart(const QByteArray& host) {
  QString h = QString::fromLatin1(host.trimmed());
  if (h.startsWith('[')) {
    const qsizetype close = h.indexOf(']');
    if (close < 0) return {};
    const QString rest = h.mid(close + 1);
    if (!rest.isEmpty() && !rest.startsWith(':')) return {};
    return h.mid(1, close - 1);
  }
  const qsizetype colon = h.indexOf(':');
  return colon < 0 ? h : h.left(colon);
}

QString browserOf(const QByteArray& ua) {
  if (ua.contains("Firefox/") || ua.contains("FxiOS/")) return "Firefox";
  if (ua.contains("Edg/") || ua.contains("EdgA/")) return "Edge";
  if (ua.contains("OPR/")) return "Opera";
  if (ua.contains("Chrome/") || ua.contains("CriOS/")) return "Chrome";
  if (ua.contains("Safari/")) return "Safari";
  return {};
}

QString systemOf(const QByteArray& ua) {
  if (ua.contains("Windows")) return "Windows";
  if (ua.contains("CrOS")) return "ChromeOS";
  if (ua.contains("Mac OS X") || ua.contains("Macintosh")) return "macOS";
  if (ua.contains("Linux")) return "Linux";
  return {};
}

}  // namespace

bool isOwnHost(const QByteArray& host, const QStringList& ownNames) {
  const QString name = hostPart(host);
  if (name.isEmpty()) return false;
  if (QHostAddress address; address.setAddress(name)) return true;
  if (name.compare("localhost", Qt::CaseInsensitive) == 0) return true;
  for (const QString& own : ownNames)
    if (!own.isEmpty() && name.compare(own, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList ownHostNames() {
  const QString name = QHostInfo::localHostName();
  QStringList names{name, name + ".local"};
  if (const QString domain = QHostInfo::localDomainName(); !domain.isEmpty())
    names.append(name + '.' + domain);
  return names;
}

QString deviceName(const QString& sent, const QByteArray& userAgent) {
  QString name;
  const QString simplified = sent.simplified();
  for (const QChar c : simplified)
    if (c.isPrint()) name += c;
  if (!name.isEmpty())
    return name.size() > kMaxNameLength ? name.left(kMaxNameLength - 1) + "…" : name;
  const QByteArray& ua = userAgent;
  if (ua.contains("iPhone")) return "iPhone";
  if (ua.contains("iPad")) return "iPad";
  if (ua.contains("Android")) return "Android";
  if (ua.startsWith("curl/")) return "curl";
  if (ua.contains("python") || ua.contains("Python")) return "Python";
  const QString browser = browserOf(ua), system = systemOf(ua);
  if (!browser.isEmpty() && !system.isEmpty()) return Words::tr("%1 unter %2").arg(browser, system);
  if (!browser.isEmpty()) return browser;
  return Words::tr("Unbekanntes Gerät");
}

std::variant<PairRequest, PairRefusal> checkPairRequest(
    const QByteArray& body, const QByteArray& contentType, const QByteArray& host,
    const QByteArray& origin, const QByteArray& userAgent, const QStringList& ownNames) {
  if (!isOwnHost(host, ownNames)) return PairRefusal{421, "unknown host"};
  if (!origin.isEmpty() && origin != "http://" + host.trimmed())
    return PairRefusal{403, "foreign origin"};
  if (contentType.split(';').first().trimmed().toLower() != "application/json")
    return PairRefusal{415, "send JSON"};
  if (body.size() > kMaxCommandBytes) return PairRefusal{413, "message too large"};
  const QJsonObject object = QJsonDocument::fromJson(body).object();
  if (!object.value("pin").isString()) return PairRefusal{400, "\"pin\" must be a string"};
  const QJsonValue name = object.value("name");
  if (!name.isUndefined() && !name.isString()) return PairRefusal{400, "\"name\" must be a string"};
  return PairRequest{object.value("pin").toString(), deviceName(name.toString(), userAgent)};
}
