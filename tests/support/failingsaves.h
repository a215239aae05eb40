#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <csignal>

// Makes every save into a folder fail while it lives: the folder loses its write permission,
// and, since permissions do not stop root, written files are also limited to zero bytes.
class FailingSaves {
 public:
  explicit FailingSaves(const QString& folder) : folder_(folder) {
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
    if (geteuid() == 0) {
      oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
      getrlimit(RLIMIT_FSIZE, &oldLimit_);
      rlimit none = oldLimit_;
      none.rlim_cur = 0;
      setrlimit(RLIMIT_FSIZE, &none);
      limited_ = true;
    }
  }
  ~FailingSaves() {
    if (limited_) {
      setrlimit(RLIMIT_FSIZE, &oldLimit_);
      std::signal(SIGXFSZ, oldSignal_);
    }
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  FailingSaves(const FailingSaves&) = delete;
  FailingSaves& operator=(const FailingSaves&) = delete;

 private:
  QString folder_;
  bool limited_ = false;
  rlimit oldLimit_{};
  void (*oldSignal_)(int) = SIG_DFL;
};
