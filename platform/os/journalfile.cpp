#include "platform/os/journalfile.h"

#include <QFileInfo>

// What the journal file does alike on every system; the system calls are in the _unix and _win
// files.

JournalFile::~JournalFile() { close(); }

void JournalFile::startSyncer() {
  stopping_ = false;
  syncPending_ = false;
  syncer_ = std::thread(&JournalFile::syncLoop, this);
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
    syncData();
    lock.lock();
  }
}

void JournalFile::appended(qint64 bytes) {
  size_ += bytes;
  {
    std::lock_guard lock(mutex_);
    syncPending_ = true;
  }
  wake_.notify_one();
}

void JournalFile::stopSyncer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (syncer_.joinable()) syncer_.join();
}
