#include <windows.h>
// io.h after windows.h: the C runtime's descriptor for the file's handle
#include <fcntl.h>
#include <io.h>

#include <QCoreApplication>
#include <QDir>

#include "platform/os/journalfile.h"

// The journal's file on Windows, the same behaviour as on other systems: every append is in the
// system's hands when append() returns, FlushFileBuffers forces it onto the disk on a thread of
// its own. The handle is opened for overlapped use: the system serialises every call on a
// synchronous handle, so a write would wait for the flush running on the other thread.

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(JournalFile)
};

// The usual reasons in the operator's language; others as the system words them.
QString systemMessage(DWORD code) {
  switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return Words::tr("kein Platz mehr auf dem Datenträger");
    case ERROR_FILE_TOO_LARGE:
      return Words::tr("Datei zu groß für den Datenträger");
    case ERROR_WRITE_PROTECT:
      return Words::tr("Datenträger nur lesbar");
    case ERROR_ACCESS_DENIED:
      return Words::tr("keine Schreibberechtigung");
    case ERROR_PATH_NOT_FOUND:
      return Words::tr("Ordner fehlt");
    default:
      break;
  }
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

const wchar_t* nativePath(const QString& path) {
  return reinterpret_cast<const wchar_t*>(path.utf16());
}

// Others may read the journal (a report of the running match) and move its folder's entries,
// but not write to it. `disposition` is OPEN_ALWAYS or CREATE_ALWAYS; -1 with `error` set on
// failure.
int openForWriting(const QString& path, DWORD disposition, QString* error) {
  const HANDLE file = CreateFileW(nativePath(QDir::toNativeSeparators(path)), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = systemMessage(GetLastError());
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
  if (fd < 0) {
    *error = QStringLiteral("Ein-/Ausgabefehler");
    CloseHandle(file);
  }
  return fd;
}

// Writes all of `bytes` at `offset`, in pieces a single call takes.
bool writeAllAt(HANDLE file, qint64 offset, const QByteArray& bytes, DWORD* error) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 30));
    if (!writeAt(file, offset, data, chunk, error)) return false;
    offset += chunk;
    data += chunk;
    left -= chunk;
  }
  return true;
}

}  // namespace

JournalFile::JournalFile(const QString& path) : path_(path) {
  fd_ = openForWriting(path, OPEN_ALWAYS, &error_);
  if (fd_ < 0) return;
  LARGE_INTEGER size = {};
  GetFileSizeEx(handleOf(fd_), &size);
  size_ = size.QuadPart;
  startSyncer();
}

bool JournalFile::append(const QByteArray& bytes) {
  if (fd_ < 0) return false;
  const HANDLE file = handleOf(fd_);
  DWORD error = 0;
  if (!writeAllAt(file, size_, bytes, &error)) {
    error_ = systemMessage(error);
    // A half-written line would read as damage in the middle of the journal: take it back.
    FILE_END_OF_FILE_INFO end = {};
    end.EndOfFile.QuadPart = size_;
    SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end);
    return false;
  }
  appended(bytes.size());
  return true;
}

bool JournalFile::overwrite(qint64 offset, const QByteArray& bytes) {
  if (fd_ < 0 || offset < 0 || offset + bytes.size() > size_) return false;
  DWORD error = 0;
  if (!writeAllAt(handleOf(fd_), offset, bytes, &error)) {
    error_ = systemMessage(error);
    return false;
  }
  // Forced at once: this is what tells a later start that the record is incomplete.
  FlushFileBuffers(handleOf(fd_));
  return true;
}

// The new file is written and flushed beside the old one, the old handle closed (Windows does
// not replace a file that is open for writing without sharing), and MoveFileEx puts the new one
// in its place with the rename written through.
bool JournalFile::replace(const QByteArray& bytes) {
  if (fd_ < 0) return false;
  const QString fresh = path_ + ".new";
  QString error;
  const int fd = openForWriting(fresh, CREATE_ALWAYS, &error);
  DWORD code = 0;
  bool written =
      fd >= 0 && writeAllAt(handleOf(fd), 0, bytes, &code) && FlushFileBuffers(handleOf(fd));
  if (fd >= 0) _close(fd);
  if (written) {
    stopSyncer();
    FlushFileBuffers(handleOf(fd_));
    _close(fd_);
    fd_ = -1;
    written = MoveFileExW(nativePath(QDir::toNativeSeparators(fresh)),
                          nativePath(QDir::toNativeSeparators(path_)),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written) code = GetLastError();
    // Writing goes on at the end of whichever file is now in place.
    fd_ = openForWriting(path_, OPEN_ALWAYS, &error);
    if (fd_ >= 0) {
      LARGE_INTEGER size = {};
      GetFileSizeEx(handleOf(fd_), &size);
      size_ = size.QuadPart;
      startSyncer();
    }
  }
  if (!written) {
    error_ = fd < 0 ? error : systemMessage(code ? code : ERROR_WRITE_FAULT);
    DeleteFileW(nativePath(QDir::toNativeSeparators(fresh)));
    return false;
  }
  return fd_ >= 0;
}

void JournalFile::close() {
  if (fd_ < 0) return;
  stopSyncer();
  syncData();
  _close(fd_);  // closes the handle too
  fd_ = -1;
}

void JournalFile::syncData() { FlushFileBuffers(handleOf(fd_)); }

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
