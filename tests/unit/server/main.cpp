#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // child processes and images want one
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
