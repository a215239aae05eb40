#include "platform/journalfile.h"

// What the journal file does alike on every system; the system calls are in the _unix and _win
// files.

JournalFile::~JournalFile() { close(); }

void JournalFile::startSyncer() {
  stopping_ = false;
  syncPending_ = false;
  syncer_ = std::thread(&JournalFile::syncLoop, this);
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
