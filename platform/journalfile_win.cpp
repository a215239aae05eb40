#include <windows.h>
// io.h after windows.h: the C runtime's descriptor for the file's handle
#include <fcntl.h>
#include <io.h>

#include <QDir>
#include <QFileInfo>

#include "journal/journalstore.h"
#include "platform/journalfile.h"

// The journal's file on Windows, the same behaviour as on other systems: every append is in the
// system's hands when append() returns, FlushFileBuffers forces it onto the disk on a thread of
// its own. The handle is opened for overlapped use: the system serialises every call on a
// synchronous handle, so a write would wait for the flush running on the other thread.

namespace {

QString systemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                           : QStringLiteral("Error %1").arg(code);
  LocalFree(text);
  return message;
}

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// Writes all of `bytes` at `offset` and waits for it; false with the system's error code.
bool writeAt(HANDLE file, qint64 offset, const char* data, DWORD size, DWORD* error) {
  OVERLAPPED at = {};
  at.Offset = DWORD(offset & 0xffffffff);
  at.OffsetHigh = DWORD(quint64(offset) >> 32);
  at.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD written = 0;
  bool ok = WriteFile(file, data, size, nullptr, &at) || GetLastError() == ERROR_IO_PENDING;
  ok = ok && GetOverlappedResult(file, &at, &written, TRUE) && written == size;
  *error = ok ? 0 : (GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
  CloseHandle(at.hEvent);
  return ok;
}

}  // namespace

JournalFile::JournalFile(const QString& path) : path_(path) {
  // Others may read the journal (a report of the running match) and move its folder's entries,
  // but not write to it.
  const HANDLE file =
      CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                  GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = systemMessage(GetLastError());
    return;
  }
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_APPEND | _O_BINARY);
  if (fd_ < 0) {
    error_ = QStringLiteral("no descriptor for the file");
    CloseHandle(file);
    return;
  }
  size_ = size.QuadPart;
  syncer_ = std::thread(&JournalFile::syncLoop, this);
}

JournalFile::~JournalFile() { close(); }

bool JournalFile::append(const QByteArray& bytes) {
  if (fd_ < 0) return false;
  const HANDLE file = handleOf(fd_);
  qint64 at = size_;
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 30));
    DWORD error = 0;
    if (!writeAt(file, at, data, chunk, &error)) {
      error_ = systemMessage(error);
      // A half-written line would read as damage in the middle of the journal: take it back.
      FILE_END_OF_FILE_INFO end = {};
      end.EndOfFile.QuadPart = size_;
      SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end);
      return false;
    }
    at += chunk;
    data += chunk;
    left -= chunk;
  }
  size_ = at;
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
  FlushFileBuffers(handleOf(fd_));
  _close(fd_);  // closes the handle too
  fd_ = -1;
}

// Several appends during one flush are covered by the next single flush. The folder goes
// first, so that a journal just created is found after a power cut.
void JournalFile::syncLoop() {
  syncFolder(QFileInfo(path_).absolutePath());
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return syncPending_ || stopping_; });
    if (stopping_) return;
    syncPending_ = false;
    lock.unlock();
    FlushFileBuffers(handleOf(fd_));
    lock.lock();
  }
}

// NTFS keeps its folders in its own log; flushing a folder's handle (allowed since Windows 8)
// writes that part out now. Where the system refuses it, the log does so within seconds.
void syncFolder(const QString& folder) {
  const HANDLE handle = CreateFileW(
      reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(folder).utf16()),
      GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(handle);
  CloseHandle(handle);
}

// %LOCALAPPDATA%\Merrowtide\Scorvex: the journal belongs to this machine's hall, it does not
// travel with a roaming profile.
QString defaultJournalFolder() {
  QString base = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
  if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + "/AppData/Local";
  return base + "/Merrowtide/Scorvex";
}
