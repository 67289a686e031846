#include <gtest/gtest.h>

#include <QApplication>

// The whole program runs in-process, so the tests need the application; off
// screen unless told otherwise (the test discovery runs without a display).
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
