#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow console;
  console.setWindowTitle("Scorvex 4.4");
  console.show();
  return app.exec();
}
