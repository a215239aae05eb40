#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "platform/os/journalfile.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(JournalFile)
};

// The usual reasons in the operator's language; others as the system words them.
QString lastError() {
  switch (errno) {
    case ENOSPC:
    case EDQUOT:
      return Words::tr("kein Platz mehr auf dem Datenträger");
    case EFBIG:
      return Words::tr("Datei zu groß für den Datenträger");
    case EROFS:
      return Words::tr("Datenträger nur lesbar");
    case EACCES:
    case EPERM:
      return Words::tr("keine Schreibberechtigung");
    case ENOENT:
      return Words::tr("Ordner fehlt");
    case ENOTDIR:
      return Words::tr("Ordner kann nicht angelegt werden");
    case EIO:
      return Words::tr("Ein-/Ausgabefehler");
    default:
      return QString::fromLocal8Bit(std::strerror(errno));
  }
}

// Writes all bytes at `offset`; false with errno set (or EIO when no progress was made).
bool writeAll(int fd, const char* data, qint64 left, qint64 offset) {
  while (left > 0) {
    const ssize_t n = ::pwrite(fd, data, size_t(left), off_t(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    left -= n;
    offset += n;
  }
  return true;
}

int openForWriting(const QString& path, int flags) {
  return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600);
}

}  // namespace

JournalFile::JournalFile(const QString& path) : path_(path) {
  // A journal that reaches a file-size limit must fail its write, not end the match.
  ::signal(SIGXFSZ, SIG_IGN);
  fd_ = openForWriting(path, 0);
  if (fd_ < 0) {
    error_ = lastError();
    return;
  }
  size_ = ::lseek(fd_, 0, SEEK_END);
  startSyncer();
}

bool JournalFile::append(const QByteArray& bytes) {
  if (fd_ < 0) return false;
  if (!writeAll(fd_, bytes.constData(), bytes.size(), size_)) {
    error_ = lastError();
    // A half-written line would read as damage in the middle of the journal: take it back.
    [[maybe_unused]] const int untouched = ::ftruncate(fd_, size_);
    return false;
  }
  appended(bytes.size());
  return true;
}

bool JournalFile::overwrite(qint64 offset, const QByteArray& bytes) {
  if (fd_ < 0 || offset < 0 || offset + bytes.size() > size_) return false;
  if (!writeAll(fd_, bytes.constData(), bytes.size(), offset)) {
    error_ = lastError();
    return false;
  }
  // Forced at once: this is what tells a later start that the record is incomplete.
  ::fdatasync(fd_);
  return true;
}

bool JournalFile::replace(const QByteArray& bytes) {
  if (fd_ < 0) return false;
  const QString fresh = path_ + ".new";
  const int fd = openForWriting(fresh, O_TRUNC);
  const bool written =
      fd >= 0 && writeAll(fd, bytes.constData(), bytes.size(), 0) && ::fdatasync(fd) == 0 &&
      ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path_).constData()) == 0;
  if (!written) {
    error_ = lastError();
    if (fd >= 0) ::close(fd);
    ::unlink(QFile::encodeName(fresh).constData());
    return false;
  }
  syncFolder(QFileInfo(path_).absolutePath());
  stopSyncer();
  ::close(fd_);
  fd_ = fd;
  size_ = bytes.size();
  startSyncer();
  return true;
}

void JournalFile::close() {
  if (fd_ < 0) return;
  stopSyncer();
  syncData();
  ::close(fd_);
  fd_ = -1;
}

void JournalFile::syncData() { ::fdatasync(fd_); }

void syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

QString defaultJournalFolder() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + "/.local/state";
  return base + "/Merrowtide/Scorvex";
}
