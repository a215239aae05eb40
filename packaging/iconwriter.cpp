// Writes the application icon, either into an icon theme tree,
// <folder>/hicolor/NxN/apps/<name>.png, or as one Windows icon file (FILE.ico) with a picture
// of each size Windows draws it at. Runs at build time without an application object; the
// icon needs no fonts.
#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <cstdio>

#include "widgets/appicon.h"
#include "widgets/iconfile.h"

namespace {

int writeThemeTree(const QString& root, const QString& name) {
  for (int size : applicationIconSizes()) {
    const QString folder = QString("%1/hicolor/%2x%2/apps").arg(root).arg(size);
    if (!QDir().mkpath(folder) ||
        !applicationIconImage(size).save(folder + "/" + name + ".png", "PNG")) {
      std::fprintf(stderr, "cannot write the %d pixel icon into %s\n", size, qPrintable(folder));
      return 1;
    }
  }
  return 0;
}

int writeWindowsIcon(const QString& path) {
  QList<QImage> images;
  for (int size : windowsIconSizes()) images.append(applicationIconImage(size));
  const QByteArray ico = windowsIconFile(images);
  QSaveFile file(path);
  if (ico.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(ico) != ico.size() ||
      !file.commit()) {
    std::fprintf(stderr, "cannot write the icon file %s\n", qPrintable(path));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && QString::fromLocal8Bit(argv[1]).endsWith(".ico"))
    return writeWindowsIcon(QString::fromLocal8Bit(argv[1]));
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER NAME | %s FILE.ico\n", argv[0], argv[0]);
    return 2;
  }
  return writeThemeTree(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
}
