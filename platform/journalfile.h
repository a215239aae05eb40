#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

// An append-only journal file. append() hands the bytes to the operating system before it
// returns, so a crash of the program loses nothing; a background thread then forces them onto
// the disk, so a power cut loses at most the last moment while the UI thread never waits for
// the disk.
class JournalFile {
 public:
  explicit JournalFile(const QString& path);
  ~JournalFile();
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  QString errorString() const { return error_; }
  QString path() const { return path_; }

  bool append(const QByteArray& bytes);
  // Closes after a last sync; the destructor does the same.
  void close();

 private:
  void syncLoop();

  QString path_;
  QString error_;
  int fd_ = -1;
  qint64 size_ = 0;  // the bytes of whole lines written so far
  std::mutex mutex_;
  std::condition_variable wake_;
  bool syncPending_ = false;
  bool stopping_ = false;
  std::thread syncer_;
};

// Forces a folder's entries (a new or renamed file) onto the disk.
void syncFolder(const QString& folder);
