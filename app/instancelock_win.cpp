#include <windows.h>

#include <QDir>

#include "app/instancelock.h"

// A named mutex of the session: the system closes a process's handles when it ends, and the
// mutex goes with the last handle. No file is needed, so nothing can keep it from being made.
SystemLock::SystemLock(const QString&, const QString& name) {
  const std::wstring mutexName = (QStringLiteral("Local\\") + name).toStdWString();
  HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
  const DWORD reason = GetLastError();
  if (!mutex) {
    error_ = qt_error_string(int(reason));
    return;
  }
  if (reason == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    state_ = State::HeldByAnother;
    return;
  }
  state_ = State::Held;
  handle_ = reinterpret_cast<qintptr>(mutex);
}

SystemLock::~SystemLock() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

QString SystemLock::runtimeFolder() { return QDir::tempPath(); }
