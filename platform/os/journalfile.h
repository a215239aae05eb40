#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

// A journal file written at its end. append() hands the bytes to the operating system before it
// returns, so a crash of the program loses nothing; a background thread then forces them onto
// the disk, so a power cut loses at most the last moment while the UI thread never waits for
// the disk. A write that fails (disk full, a file-size limit, a folder gone read-only) leaves
// the file as it was before it and returns false, without ending the program.
class JournalFile {
 public:
  explicit JournalFile(const QString& path);
  ~JournalFile();
  JournalFile(const JournalFile&) = delete;
  JournalFile& operator=(const JournalFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  QString errorString() const { return error_; }
  QString path() const { return path_; }
  // The bytes of whole writes so far.
  qint64 size() const { return size_; }

  // Writes the bytes at the end, all or none.
  bool append(const QByteArray& bytes);
  // Writes over bytes already in the file, without making it longer: this needs no new room
  // on the disk, so it works when the disk is full. False past the end.
  bool overwrite(qint64 offset, const QByteArray& bytes);
  // Replaces the whole file by `bytes` in one step: a crash at any moment leaves either the
  // old file or the new one. Writing goes on at the end of the new one. On failure the old
  // file stays and is still written.
  bool replace(const QByteArray& bytes);
  // Closes after a last sync; the destructor does the same.
  void close();

 private:
  void syncLoop();
  // Forces the file's written data onto the disk (the system's own call).
  void syncData();
  void stopSyncer();
  void startSyncer();
  // The file grew by `bytes`: the syncing thread is woken to force them onto the disk.
  void appended(qint64 bytes);

  QString path_;
  QString error_;
  int fd_ = -1;
  qint64 size_ = 0;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool syncPending_ = false;
  bool stopping_ = false;
  std::thread syncer_;
};

// Forces a folder's entries (a new or renamed file) onto the disk.
void syncFolder(const QString& folder);

// Where the journals live: $XDG_STATE_HOME/Merrowtide/Scorvex (by default under
// ~/.local/state), on Windows %LOCALAPPDATA%\Merrowtide\Scorvex.
QString defaultJournalFolder();
