#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <random>
#include <thread>

#include "DownloadTestSupport.h"
#include "support/LocalServer.h"

namespace {

// The downloading program is killed at random moments and started again; the
// file it finally holds is the server's, byte for byte, and the later runs
// continued from the state file rather than from the beginning.
TEST(KillAndResume, KilledAtRandomMomentsTheTransferStillEndsWithTheRightFile) {
  testsupport::LocalServer server;
  const std::string content = downloadtest::RandomBytes(32 << 20, 3);
  const std::string url = server.AddFile("/f/firmware.bin", content);
  server->SetFault("/f/firmware.bin", {.bytesPerSecond = 12 << 20});
  QTemporaryDir dir;
  const QString local = dir.filePath("firmware.bin");
  const QStringList args = {QString::fromStdString(url), local, dir.path(), "200"};

  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<int> moment(300, 900);
  for (int kill = 0; kill < 3; ++kill) {
    QProcess child;
    child.start(DOWNLOAD_CHILD, args);
    ASSERT_TRUE(child.waitForStarted());
    std::this_thread::sleep_for(std::chrono::milliseconds(moment(random)));
    child.kill();  // SIGKILL
    child.waitForFinished();
  }
  QProcess child;
  child.start(DOWNLOAD_CHILD, args);
  ASSERT_TRUE(child.waitForFinished(60000));
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0);
  EXPECT_EQ(app::MD5File(local.toStdString()),
            app::MD5File((server.root() / "f/firmware.bin").string()));

  int resumed = 0;
  for (const auto& r : server->Requests()) {
    const auto range = r.Header("Range").value_or("");
    resumed += range.starts_with("bytes=") && !range.starts_with("bytes=0-");
  }
  EXPECT_GE(resumed, 1);
}

}  // namespace
