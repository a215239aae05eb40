#include "journal/journalstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "platform/os/journalfile.h"

JournalStore::JournalStore(const QString& folder) : folder_(folder) {}

QString JournalStore::currentPath() const { return folder_ + "/current.journal"; }

QString JournalStore::matchesFolder() const { return folder_ + "/matches"; }

bool JournalStore::hasCurrent() const { return QFileInfo(currentPath()).isFile(); }

bool JournalStore::prepare(QString* error) const {
  if (QDir().mkpath(matchesFolder())) return true;
  *error = QCoreApplication::translate("JournalStore", "Ordner %1 kann nicht angelegt werden")
               .arg(matchesFolder());
  return false;
}

QString JournalStore::finishCurrent() const {
  if (!hasCurrent()) return QString();
  const QString stamp = QFileInfo(currentPath()).lastModified().toString("yyyy-MM-dd_HH-mm-ss");
  QString target = QString("%1/%2.journal").arg(matchesFolder(), stamp);
  for (int n = 2; QFileInfo::exists(target); ++n)
    target = QString("%1/%2_%3.journal").arg(matchesFolder(), stamp).arg(n);
  if (!QDir().mkpath(matchesFolder()) || !QFile::rename(currentPath(), target)) return QString();
  syncFolder(matchesFolder());
  syncFolder(folder_);

  const QStringList finished = finishedPaths();
  for (qsizetype i = 0; i < finished.size() - kKeptMatches; ++i) QFile::remove(finished[i]);
  return target;
}

QStringList JournalStore::finishedPaths() const {
  QStringList paths;
  const QDir matches(matchesFolder());
  for (const QString& name : matches.entryList({"*.journal"}, QDir::Files, QDir::Name))
    paths.append(matches.filePath(name));
  return paths;
}

QString JournalStore::lastMatchPath() const {
  if (hasCurrent()) return currentPath();
  const QStringList finished = finishedPaths();
  return finished.isEmpty() ? QString() : finished.last();
}
