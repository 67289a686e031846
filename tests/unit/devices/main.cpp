#include <gtest/gtest.h>

#include <QCoreApplication>

// The device events are delivered through the event loop.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
