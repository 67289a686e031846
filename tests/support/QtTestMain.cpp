#include <gtest/gtest.h>

#include <QApplication>

// The test main of every binary that needs the application object: screens,
// the program run in-process, event-loop delivery. Off screen unless told
// otherwise, since listing the tests at build time runs without a display.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
