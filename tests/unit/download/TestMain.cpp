#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

// The texts are checked in the user's locale of the program's users.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
