// Writes the application icon into an icon theme tree: <folder>/hicolor/NxN/apps/<name>.png.
// Runs at build time without an application object; the icon needs no fonts.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "widgets/appicon.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER NAME\n", argv[0]);
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]), name = QString::fromLocal8Bit(argv[2]);
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
