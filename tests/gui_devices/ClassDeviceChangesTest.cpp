#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/Platform.h"
#include "platform/sim/SimDevices.h"
#include "rewrite/uClassDeviceChanges.h"

namespace {

constexpr char kPendrive[] = "USBSTOR\\DISK&VEN_SANDISK&PROD_CRUZER_BLADE&REV_1.00\\4C53&0";

class ClassDeviceChangesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::PlatformOptions options;
    options.name = "sim";
    options.simStatePath = dir_.filePath("pc.json").toStdString();
    platform::SetCurrent(platform::CreatePlatform(options));
    pc_ = std::make_unique<platform::SimulatedPc>(options.simStatePath);
    relay_ = std::make_unique<TClassDeviceChanges>();
    // Subscribed after the relay, so it is told after the relay was.
    platform::Current().deviceEvents->Subscribe([this] { ++notifications_; });
    tickStartFirstPass_.setInterval(500);
    relay_->SetTickStartFirstPass(&tickStartFirstPass_);
  }

  // Plugs or pulls the pendrive and waits until the change was delivered.
  bool Toggle() {
    const int before = notifications_;
    if (!platform::UnplugDevice(*pc_, kPendrive)) {
      platform::PlugDevice(*pc_, kPendrive, "SanDisk Cruzer Blade USB Device", false);
    }
    const QDeadlineTimer deadline(5000);
    while (notifications_ == before && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return notifications_ > before;
  }

  QTemporaryDir dir_;
  std::unique_ptr<platform::SimulatedPc> pc_;
  std::unique_ptr<TClassDeviceChanges> relay_;
  QTimer tickStartFirstPass_;
  int notifications_ = 0;
};

TEST_F(ClassDeviceChangesTest, OwnerIsNobodyUntilTheDriveScreenWaits) {
  EXPECT_EQ(relay_->ownerExecuteAction(), 99);
  EXPECT_FALSE(relay_->isVisible());
}

TEST_F(ClassDeviceChangesTest, ChangeWithOwner99LeavesTheTimerOff) {
  ASSERT_TRUE(Toggle());
  ASSERT_TRUE(Toggle());
  EXPECT_FALSE(tickStartFirstPass_.isActive());
}

TEST_F(ClassDeviceChangesTest, ArrivalOrRemovalWithOwner0SwitchesTheTimerOn) {
  relay_->setOwnerExecuteAction(0);
  for (const char* change : {"arrival", "removal"}) {
    SCOPED_TRACE(change);
    tickStartFirstPass_.stop();
    ASSERT_TRUE(Toggle());
    EXPECT_TRUE(tickStartFirstPass_.isActive());
  }
  relay_->setOwnerExecuteAction(99);
  tickStartFirstPass_.stop();
  ASSERT_TRUE(Toggle());
  EXPECT_FALSE(tickStartFirstPass_.isActive());
}

}  // namespace
