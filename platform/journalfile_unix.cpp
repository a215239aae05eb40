#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "journal/journalstore.h"
#include "platform/journalfile.h"

JournalFile::JournalFile(const QString& path) : path_(path) {
  fd_ =
      ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    error_ = QString::fromLocal8Bit(std::strerror(errno));
    return;
  }
  size_ = ::lseek(fd_, 0, SEEK_END);
  syncer_ = std::thread(&JournalFile::syncLoop, this);
}

JournalFile::~JournalFile() { close(); }

bool JournalFile::append(const QByteArray& bytes) {
  if (fd_ < 0) return false;
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, data, size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = QString::fromLocal8Bit(n < 0 ? std::strerror(errno) : "no progress");
      // A half-written line would read as damage in the middle of the journal: take it back.
      [[maybe_unused]] const int untouched = ::ftruncate(fd_, size_);
      return false;
    }
    data += n;
    left -= n;
  }
  size_ += bytes.size();
  {
    std::lock_guard lock(mutex_);
    syncPending_ = true;
  }
  wake_.notify_one();
  return true;
}

void JournalFile::close() {
  if (fd_ < 0) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  syncer_.join();
  ::fdatasync(fd_);
  ::close(fd_);
  fd_ = -1;
}

// Several appends during one sync are covered by the next single sync. The folder goes first,
// so that a journal just created is found after a power cut.
void JournalFile::syncLoop() {
  syncFolder(QFileInfo(path_).absolutePath());
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return syncPending_ || stopping_; });
    if (stopping_) return;
    syncPending_ = false;
    lock.unlock();
    ::fdatasync(fd_);
    lock.lock();
  }
}

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
