#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Pairing of phones with the board. The board shows a 6-digit PIN, new at every start of the
// server; a device that sends it gets a session token, a long random string that every command
// must carry. Tokens are compared in constant time, so the time of an answer tells nothing
// about how much of a guessed token was right. Wrong PINs are throttled for everybody at once:
// after kFreeTries, each try must wait twice as long as the one before (up to kMaxWaitMs), so
// guessing the million PINs takes years while the operator's own phone pairs at once.
// Times are tick values (milliseconds, differences modulo 2^32).
class Pairing {
 public:
  static constexpr int kFreeTries = 5;
  static constexpr quint32 kMaxWaitMs = 60'000;
  static constexpr int kMaxDevices = 32;

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
  };

  explicit Pairing(QString pin = newPin());

  const QString& pin() const { return pin_; }
  Attempt tryPin(const QString& pin, quint32 now, const QString& name, const QString& address);
  // The device a token belongs to, if it is still paired.
  std::optional<int> deviceOf(const QByteArray& token) const;
  bool drop(int id);
  QList<Device> devices() const;
  int failures() const { return failures_; }

  static QString newPin();
  static QByteArray newToken();

 private:
  struct Session {
    Device device;
    QByteArray token;
  };
  quint32 waitAfterFailures() const;

  QString pin_;
  QList<Session> sessions_;
  int nextId_ = 1;
  int failures_ = 0;
  quint32 lastFailure_ = 0;
};

// True when both are equal; takes the same time whatever the position of the first difference.
bool equalInConstantTime(const QByteArray& a, const QByteArray& b);
