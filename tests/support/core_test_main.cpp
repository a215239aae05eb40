#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

// The test programs of the libraries below the windows run inside a Qt Core application with
// the C locale: they link no Qt GUI at all.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
