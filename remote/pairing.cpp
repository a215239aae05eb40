#include "remote/pairing.h"

#include <QRandomGenerator>
#include <algorithm>

#include "platform/tickcounter.h"

Pairing::Pairing(QString pin) : pin_(std::move(pin)) {}

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

quint32 Pairing::waitAfterFailures() const {
  if (failures_ < kFreeTries) return 0;
  const int doublings = std::min(failures_ - kFreeTries, 16);
  return std::min<quint32>(1000u << doublings, kMaxWaitMs);
}

Pairing::Attempt Pairing::tryPin(const QString& pin, quint32 now, const QString& name,
                                 const QString& address) {
  const quint32 wait = waitAfterFailures();
  const quint32 waited = tickSpan(now, lastFailure_);
  if (waited < wait) return {Outcome::Throttled, {}, wait - waited};
  if (!equalInConstantTime(pin.toUtf8(), pin_.toUtf8())) {
    ++failures_;
    lastFailure_ = now;
    return {Outcome::WrongPin, {}, 0};
  }
  if (sessions_.size() >= kMaxDevices) return {Outcome::TooManyDevices, {}, 0};
  failures_ = 0;
  Session session{{nextId_++, name.left(80), address}, newToken()};
  sessions_.append(session);
  return {Outcome::Paired, session.token, 0};
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
