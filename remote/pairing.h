#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

#include "remote/ratelimit.h"

// Pairing of phones with the board. The board shows a 6-digit PIN, new at every start of the
// server; a device that sends it gets a session token, a long random string that every command
// must carry. Tokens are compared in constant time, so the time of an answer tells nothing
// about how much of a guessed token was right. Wrong PINs are throttled per network address (an
// IPv6 address by its /64 network, which one machine may fill): after kFreeTries, each try from
// that address must wait twice as long as the one before (up to kMaxWaitMs), so guessing the
// million PINs takes years, while a phone on another address that has not guessed wrong pairs at
// once whatever others guess. One address holds at most kDevicesPerAddress sessions; pairing
// once more from it replaces its oldest. Wrong PINs are also limited over all addresses together
// (kWrongPinsPerSecond): while that limit is reached every try waits, from any address, so
// guessing from many addresses takes as long as from one of them (the million PINs a day and
// more). A PIN pairs at most kPairingsPerPin devices; then a new
// one is drawn (the window shows it), so a PIN read once cannot fill the device list.
// Times are tick values (milliseconds, differences modulo 2^32).
class Pairing {
 public:
  static constexpr int kFreeTries = 5;
  static constexpr quint32 kMaxWaitMs = 60'000;
  static constexpr int kMaxDevices = 32;
  static constexpr int kDevicesPerAddress = 4;
  static constexpr int kPairingsPerPin = 8;
  // Addresses whose wrong guesses are remembered; beyond it the one that failed longest ago
  // is forgotten.
  static constexpr int kTrackedAddresses = 1024;
  // Wrong PINs a second from all addresses together, in bursts of one second's worth.
  static constexpr int kWrongPinsPerSecond = 10;

  struct Device {
    int id;
    QString name;     // the browser's or script's own name for itself
    QString address;  // network address it paired from
  };
  enum class Outcome { Paired, WrongPin, Throttled, TooManyDevices };
  struct Attempt {
    Outcome outcome;
    QByteArray token;        // when paired
    quint32 retryAfterMs{};  // when throttled
    int replaced = 0;        // the device this one replaced, or 0
  };

  explicit Pairing(QString pin = newPin(), quint32 now = 0);

  const QString& pin() const { return pin_; }
  Attempt tryPin(const QString& pin, quint32 now, const QString& name, const QString& address);
  // The device a token belongs to, if it is still paired.
  std::optional<int> deviceOf(const QByteArray& token) const;
  bool drop(int id);
  QList<Device> devices() const;
  // Wrong PINs from `address` since its last right one.
  int failures(const QString& address) const;
  // The addresses remembered with wrong PINs since their last right one.
  int guessingAddresses() const { return int(failures_.size()); }

  static QString newPin();
  static QByteArray newToken();

 private:
  struct Session {
    Device device;
    QByteArray token;
  };
  struct Failures {
    int count = 0;
    quint32 last = 0;
  };
  static quint32 waitAfter(int failures);
  static QString keyOf(const QString& address);

  QString pin_;
  int pairingsWithPin_ = 0;
  QList<Session> sessions_;
  int nextId_ = 1;
  QHash<QString, Failures> failures_;  // by keyOf(address)
  RateLimit wrongPins_;                // from all addresses together
};

// True when both are equal; takes the same time whatever the position of the first difference.
bool equalInConstantTime(const QByteArray& a, const QByteArray& b);
