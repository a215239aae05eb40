#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>

#include "app/instancelock.h"

// flock() belongs to the open file: the kernel lets go of it when the last descriptor closes,
// which a process that ends in any way does. The file itself stays and means nothing.
SystemLock::SystemLock(const QString& folder, const QString& name) {
  const QByteArray path = QFile::encodeName(QDir(folder).filePath(name + ".lock"));
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    error_ = qt_error_string(errno);
    return;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    state_ = State::Held;
    handle_ = fd;
    return;
  }
  const int reason = errno;
  ::close(fd);
  if (reason == EWOULDBLOCK) {
    state_ = State::HeldByAnother;
  } else {
    error_ = qt_error_string(reason);
  }
}

SystemLock::~SystemLock() {
  if (handle_ >= 0) ::close(int(handle_));
}

QString SystemLock::runtimeFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}
