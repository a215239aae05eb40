// Takes the one-program locks as a program would and holds them until it is killed, for the
// test that a killed program's lock never stops the next start.
//   scorvex_lockholder FOLDER PLACE...   prints "held" or "refused"
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "app/instancelock.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments().mid(1);
  if (arguments.size() < 2) return 2;
  InstanceLock lock(arguments.mid(1), arguments[0]);
  const bool held = lock.acquire();
  std::puts(held ? "held" : "refused");
  std::fflush(stdout);
  return held ? app.exec() : 1;
}
