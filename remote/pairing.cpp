#include "remote/pairing.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <algorithm>

#include "platform/os/tickcounter.h"

Pairing::Pairing(QString pin, quint32 now)
    : pin_(std::move(pin)), wrongPins_(kWrongPinsPerSecond, now) {}

QString Pairing::newPin() {
  return QString::number(QRandomGenerator::system()->bounded(1'000'000)).rightJustified(6, '0');
}

QByteArray Pairing::newToken() {
  quint32 words[8];  // 256 bits
  QRandomGenerator::system()->fillRange(words);
  return QByteArray(reinterpret_cast<const char*>(words), sizeof words)
      .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

bool equalInConstantTime(const QByteArray& a, const QByteArray& b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (qsizetype i = 0; i < a.size(); ++i) difference |= a[i] ^ b[i];
  return difference == 0;
}

quint32 Pairing::waitAfter(int failures) {
  if (failures < kFreeTries) return 0;
  const int doublings = std::min(failures - kFreeTries, 16);
  return std::min<quint32>(1000u << doublings, kMaxWaitMs);
}

QString Pairing::keyOf(const QString& address) {
  QHostAddress host(address);
  if (host.protocol() != QAbstractSocket::IPv6Protocol) return address;
  bool mapped = false;
  if (const quint32 v4 = host.toIPv4Address(&mapped); mapped) return QHostAddress(v4).toString();
  Q_IPV6ADDR bytes = host.toIPv6Address();
  std::fill(std::begin(bytes.c) + 8, std::end(bytes.c), quint8(0));
  return QHostAddress(bytes).toString() + "/64";
}

int Pairing::failures(const QString& address) const {
  return failures_.value(keyOf(address)).count;
}

Pairing::Attempt Pairing::tryPin(const QString& pin, quint32 now, const QString& name,
                                 const QString& address) {
  const QString key = keyOf(address);
  const Failures before = failures_.value(key);
  const quint32 wait = waitAfter(before.count);
  const quint32 waited = tickSpan(now, before.last);
  if (waited < wait) return {Outcome::Throttled, {}, wait - waited};
  if (const quint32 all = wrongPins_.wait(now)) return {Outcome::Throttled, {}, all};
  if (!equalInConstantTime(pin.toUtf8(), pin_.toUtf8())) {
    wrongPins_.take(now);
    if (!failures_.contains(key) && failures_.size() >= kTrackedAddresses) {
      auto oldest = failures_.begin();
      for (auto it = failures_.begin(); it != failures_.end(); ++it)
        if (tickSpan(now, it->last) > tickSpan(now, oldest->last)) oldest = it;
      failures_.erase(oldest);
    }
    failures_[key] = {before.count + 1, now};
    return {Outcome::WrongPin, {}, 0};
  }
  failures_.remove(key);
  int replaced = 0;
  QList<int> fromThere;
  for (const Session& s : sessions_)
    if (keyOf(s.device.address) == key) fromThere.append(s.device.id);
  if (fromThere.size() >= kDevicesPerAddress) {
    replaced = fromThere.first();
    drop(replaced);
  } else if (sessions_.size() >= kMaxDevices) {
    return {Outcome::TooManyDevices, {}, 0};
  }
  Session session{{nextId_++, name.left(80), address}, newToken()};
  sessions_.append(session);
  if (++pairingsWithPin_ >= kPairingsPerPin) {
    pin_ = newPin();
    pairingsWithPin_ = 0;
  }
  return {Outcome::Paired, session.token, 0, replaced};
}

std::optional<int> Pairing::deviceOf(const QByteArray& token) const {
  // Every session is compared, so the answer takes as long for a miss as for a hit.
  std::optional<int> found;
  for (const Session& s : sessions_)
    if (equalInConstantTime(token, s.token)) found = s.device.id;
  return found;
}

bool Pairing::drop(int id) {
  return sessions_.removeIf([id](const Session& s) { return s.device.id == id; }) > 0;
}

QList<Pairing::Device> Pairing::devices() const {
  QList<Device> list;
  for (const Session& s : sessions_) list.append(s.device);
  return list;
}
