#include <gtest/gtest.h>

#include <QApplication>

#include "app/Globals.h"

// The program-wide references; each test sets the ones it needs.
Tfp* fp = nullptr;
Tdm* dm = nullptr;
TUAPI* UAPI = nullptr;
TFmessage* Fmessage = nullptr;
TSystemDone* SystemDone = nullptr;
TFBNB* FBNB = nullptr;
TmsgSimNao* msgSimNao = nullptr;
TDrvInstall* DrvInstall = nullptr;
TClassDeviceChanges* ClassDeviceChanges = nullptr;

int main(int argc, char** argv) {
  // Listing the tests at build time runs without a display as well.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
