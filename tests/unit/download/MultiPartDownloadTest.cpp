#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <set>

#include "DownloadTestSupport.h"
#include "support/LocalServer.h"

namespace {

using download::psFailed;
using download::psSuccess;
using download::TMultiPartDownloader;
using downloadtest::PollUntilDone;
using downloadtest::ReadAll;
using downloadtest::WaitFor;
using downloadtest::WriteAll;

constexpr size_t kSize = (1 << 20) + 3;
constexpr char kPath[] = "/solvanta/firmware/imagem.pac";

class Transfer : public testing::Test {
 protected:
  Transfer() : content_(downloadtest::RandomBytes(kSize)), url_(server_.AddFile(kPath, content_)) {}

  std::unique_ptr<TUMPDownloader> Downloader() {
    auto downloader = std::make_unique<TUMPDownloader>(dir_.path());
    downloader->DownLoader->RetryDelay = std::chrono::milliseconds(20);
    downloader->SetDownload(QString::fromStdString(url_), Local());
    return downloader;
  }
  QString Local() const { return dir_.filePath("imagem.pac"); }
  std::string LocalBytes() const { return ReadAll(Local().toStdString()); }
  QString Ini() const { return dir_.filePath("DS.ini"); }

  // Writes a state file for this transfer as an earlier run would have left it.
  void SaveState(const download::TResourceSnapshot& snapshot) {
    auto writer = Downloader();
    writer->DownLoader->ResourceState().Assign(snapshot);
    writer->PauseDownload();
  }

  // The ranges of the requests for the file other than the one-byte probe.
  std::vector<std::string> PartRanges() {
    std::vector<std::string> ranges;
    for (const auto& r : server_->Requests()) {
      const auto range = r.Header("Range").value_or("");
      if (r.path == kPath && range != "bytes=0-0")
        ranges.push_back(range);
    }
    return ranges;
  }

  std::string Range(std::int64_t first, std::int64_t last) const {
    return "bytes=" + std::to_string(first) + "-" + std::to_string(last);
  }

  testsupport::LocalServer server_;
  QTemporaryDir dir_;
  QTimer timer_;
  std::string content_;
  std::string url_;
};

TEST_F(Transfer, FreshTransferWritesTheWholeFileAndThenDeletesTheStateFile) {
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  EXPECT_EQ(timer_.interval(), 200);
  EXPECT_TRUE(timer_.isActive());
  ASSERT_TRUE(PollUntilDone(*downloader));
  EXPECT_TRUE(LocalBytes() == content_);
  EXPECT_FALSE(QFile::exists(Ini()));
  downloader->StopDownload(&timer_);
  EXPECT_FALSE(timer_.isActive());
  EXPECT_FALSE(QFile::exists(Ini()));
  EXPECT_EQ(PartRanges(), std::vector<std::string>{Range(0, kSize - 1)});
}

TEST_F(Transfer, StopHalfWayThenResumeContinuesAtTheNextByte) {
  server_->SetFault(kPath, {.bytesPerSecond = 400000});
  auto first = Downloader();
  first->StarDownload(&timer_);
  ASSERT_TRUE(WaitFor([&] { return first->DownLoader->ResourceState().BytesProceed() > 100000; }));
  first->StopDownload(&timer_);
  first.reset();
  ASSERT_TRUE(QFile::exists(Ini()));

  auto probe = Downloader();
  probe->ResumeDownload();
  const auto saved = probe->DownLoader->ResourceState().Snapshot();
  ASSERT_EQ(saved.Items.size(), 1u);
  const std::int64_t next = saved.Items[0].ResourcePos + saved.Items[0].BytesProceed;
  ASSERT_GT(next, 0);
  ASSERT_LT(next, static_cast<std::int64_t>(kSize));
  EXPECT_TRUE(LocalBytes().substr(0, next) == content_.substr(0, next));

  server_->ClearFaults();
  server_->ClearRecord();
  auto second = Downloader();
  second->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*second));
  EXPECT_EQ(PartRanges(), std::vector<std::string>{Range(next, kSize - 1)});
  EXPECT_TRUE(LocalBytes() == content_);
}

TEST_F(Transfer, AConnectionCutMidPartIsRetriedFromTheNextByte) {
  // The probe and the first part request are answered; the part is cut.
  server_->SetFault(kPath, {.cutAfterBytes = 300000, .times = 2});
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*downloader));
  EXPECT_TRUE(LocalBytes() == content_);
  const auto ranges = PartRanges();
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0], Range(0, kSize - 1));
  EXPECT_NE(ranges[1], ranges[0]);
}

TEST_F(Transfer, AServerIgnoringRangesMakesThePartStartOverInsteadOfAppending) {
  WriteAll(Local().toStdString(), content_.substr(0, kSize / 2));
  SaveState({kSize, {}, {{0, kSize, kSize / 2}}});
  server_->SetIgnoreRanges(true);
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*downloader));
  EXPECT_TRUE(LocalBytes() == content_);
}

TEST_F(Transfer, SeveralPartsAgainstAServerIgnoringRangesStillGiveTheFile) {
  server_->SetIgnoreRanges(true);
  TMultiPartDownloader component;
  component.URL = url_;
  component.LocalFile = Local().toStdString();
  component.ThreadCount = 4;
  component.Start();
  ASSERT_TRUE(WaitFor([&] { return !component.Running(); }));
  EXPECT_EQ(component.ResourceState().LastStatus(), psSuccess);
  EXPECT_TRUE(LocalBytes() == content_);
}

TEST_F(Transfer, FourPartsEachFetchTheirOwnRange) {
  TMultiPartDownloader component;
  component.URL = url_;
  component.LocalFile = Local().toStdString();
  component.ThreadCount = 4;
  component.Start();
  ASSERT_TRUE(WaitFor([&] { return !component.Running(); }));
  EXPECT_EQ(component.ResourceState().LastStatus(), psSuccess);
  EXPECT_TRUE(LocalBytes() == content_);
  const auto ranges = PartRanges();
  const std::int64_t chunk = kSize / 4;
  EXPECT_EQ(std::set<std::string>(ranges.begin(), ranges.end()),
            (std::set<std::string>{Range(0, chunk - 1), Range(chunk, 2 * chunk - 1),
                                   Range(2 * chunk, 3 * chunk - 1), Range(3 * chunk, kSize - 1)}));
}

TEST_F(Transfer, A416OnAnAlreadyCompleteFileFinishesWithoutRewritingIt) {
  WriteAll(Local().toStdString(), content_);
  SaveState({kSize, {}, {{0, kSize + 50, kSize}}});
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*downloader));
  EXPECT_EQ(PartRanges(), std::vector<std::string>{Range(kSize, kSize + 49)});
  EXPECT_TRUE(LocalBytes() == content_);
}

TEST_F(Transfer, ABodyWithoutLengthIsTakenToItsEnd) {
  server_->SetFault(kPath, {.chunked = true});
  WriteAll(Local().toStdString(), std::string(2 * kSize, 'x'));
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*downloader));
  EXPECT_TRUE(LocalBytes() == content_);
}

TEST_F(Transfer, AStateThatNoLongerMatchesTheServerStartsAfresh) {
  const struct {
    const char* why;
    download::TResourceSnapshot saved;
  } cases[] = {
      {"other ETag", {kSize, {"\"outra\"", ""}, {{0, kSize, kSize / 2}}}},
      {"other size", {kSize + 1, {}, {{0, kSize + 1, kSize / 2}}}},
      {"other Last-Modified", {kSize, {"", "Mon, 01 Jan 2001 00:00:00 GMT"}, {{0, kSize, 10}}}},
      {"Count 0", {kSize, {}, {}}},
      {"parts overlap", {kSize, {}, {{0, kSize, 10}, {5, 10, 0}}}},
  };
  for (const auto& c : cases) {
    WriteAll(Local().toStdString(), std::string(2 * kSize, 'x'));
    SaveState(c.saved);
    server_->ClearRecord();
    auto downloader = Downloader();
    downloader->StarDownload(&timer_);
    ASSERT_TRUE(PollUntilDone(*downloader)) << c.why;
    EXPECT_EQ(PartRanges(), std::vector<std::string>{Range(0, kSize - 1)}) << c.why;
    EXPECT_TRUE(LocalBytes() == content_) << c.why;
  }
}

TEST_F(Transfer, AFailingServerIsRetriedWithinTryCount) {
  server_->SetFault(kPath, {.status = 503, .times = 4});
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*downloader));
  EXPECT_TRUE(LocalBytes() == content_);
}

TEST_F(Transfer, AServerFailingEveryAttemptLeavesAFailedTransferWhoseStateIsSaved) {
  server_->SetFault(kPath, {.status = 404});
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(WaitFor([&] { return !downloader->DownLoader->Running(); }));
  EXPECT_EQ(downloader->DownLoader->ResourceState().LastStatus(), psFailed);
  EXPECT_EQ(server_->Requests().size(), 5u);
  EXPECT_FALSE(downloader->GetStatusDownload());
  downloader->StopDownload(&timer_);
  EXPECT_TRUE(QFile::exists(Ini()));
}

TEST_F(Transfer, ResumesNearTheEndOfA3GiBResource) {
  constexpr std::int64_t size = 3LL << 30;
  constexpr std::int64_t tail = 1 << 20;
  const std::string last = downloadtest::RandomBytes(tail, 11);
  const auto served = server_.root() / "big.bin";
  {
    const int fd = ::open(served.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, last.data(), tail, size - tail), tail);
    ::close(fd);
    const int local = ::open(Local().toStdString().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(::ftruncate(local, size - tail), 0);
    ::close(local);
  }
  url_ = server_.url("/big.bin");
  SaveState({size, {}, {{0, size, size - tail}}});
  auto downloader = Downloader();
  downloader->StarDownload(&timer_);
  ASSERT_TRUE(PollUntilDone(*downloader));
  std::vector<std::string> ranges;
  for (const auto& r : server_->Requests())
    ranges.push_back(r.Header("Range").value_or(""));
  EXPECT_EQ(ranges, (std::vector<std::string>{"bytes=0-0", Range(size - tail, size - 1)}));
  std::string got(tail, '\0');
  const int fd = ::open(Local().toStdString().c_str(), O_RDONLY);
  EXPECT_EQ(::pread(fd, got.data(), tail, size - tail), tail);
  ::close(fd);
  EXPECT_TRUE(got == last);
}

TEST(TransferTls, AnHttpsUrlIsFetchedWithTheCertificateChecked) {
  testsupport::LocalServer server(true);
  const std::string content = downloadtest::RandomBytes(70000);
  QTemporaryDir dir;
  for (const bool trusted : {true, false}) {
    TMultiPartDownloader component;
    component.URL = server.AddFile("/s.bin", content);
    component.LocalFile = dir.filePath(trusted ? "trusted.bin" : "untrusted.bin").toStdString();
    component.CaBundle =
        trusted ? server.CaFile() : testsupport::WriteUnrelatedCa(dir.path().toStdString());
    component.TryCount = 1;
    component.Start();
    ASSERT_TRUE(WaitFor([&] { return !component.Running(); }));
    EXPECT_EQ(component.ResourceState().LastStatus(), trusted ? psSuccess : psFailed);
    EXPECT_EQ(ReadAll(component.LocalFile) == content, trusted);
  }
}

}  // namespace
