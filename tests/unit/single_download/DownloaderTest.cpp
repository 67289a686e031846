// TDownloader against the local maker server: what reaches the target file,
// the attempts, the events and the certificate checks.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "download/UDownloader.h"
#include "support/LocalServer.h"

namespace fs = std::filesystem;

namespace {

std::string Body(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    body[i] = static_cast<char>('a' + i % 26);
  return body;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class DownloaderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    downloader_.OnProgress = [this](TDownloader* d) { progress_.push_back(d->Progress()); };
    downloader_.OnError = [this](TDownloader*) { ++errors_; };
  }

  fs::path Target(const char* name = "file.bin") const {
    return fs::path(folder_.path().toStdString()) / name;
  }
  // Everything left in the target's folder: no temporary file may stay.
  std::size_t FilesLeft() const {
    return static_cast<std::size_t>(std::distance(
        fs::directory_iterator(folder_.path().toStdString()), fs::directory_iterator()));
  }
  std::size_t RequestsFor(const std::string& path) {
    std::size_t n = 0;
    for (const auto& r : server_->Requests())
      n += r.path == path;
    return n;
  }

  testsupport::LocalServer server_;
  QTemporaryDir folder_;
  TDownloader downloader_;
  std::vector<std::int64_t> progress_;
  int errors_ = 0;
};

TEST_F(DownloaderTest, NotFoundTwiceWritesNothingAndRaisesOnErrorOnce) {
  EXPECT_FALSE(downloader_.Download(server_.url("/missing.bin"), Target().string()));
  EXPECT_EQ(errors_, 1);
  EXPECT_EQ(RequestsFor("/missing.bin"), 2u);
  EXPECT_EQ(downloader_.LastStatus(), 404);
  EXPECT_EQ(FilesLeft(), 0u);
}

TEST_F(DownloaderTest, ExistingTargetIsGoneAfterAFailedDownload) {
  std::ofstream(Target()) << "an earlier copy";
  EXPECT_FALSE(downloader_.Download(server_.url("/missing.bin"), Target().string()));
  EXPECT_FALSE(fs::exists(Target()));
}

// Answers that must never reach the target, and leave no temporary file.
struct BadAnswer {
  const char* name;
  sim::PathFault fault;
  std::size_t bodySize;
  bool cutShort;  // the transfer ends with a transport error
};

void PrintTo(const BadAnswer& answer, std::ostream* os) {
  *os << answer.name;
}

class DownloaderBadAnswerTest : public DownloaderTest,
                                public testing::WithParamInterface<BadAnswer> {};

TEST_P(DownloaderBadAnswerTest, PartialOrEmptyOrErrorBodyNeverReachesTheTarget) {
  const std::string url = server_.AddFile("/f.bin", Body(GetParam().bodySize));
  server_->SetFault("/f.bin", GetParam().fault);
  EXPECT_FALSE(downloader_.Download(url, Target().string()));
  EXPECT_EQ(errors_, 1);
  EXPECT_EQ(FilesLeft(), 0u);
  // A request that fails with an error ends with progress 0, others at 100.
  ASSERT_FALSE(progress_.empty());
  EXPECT_EQ(progress_.back(), GetParam().cutShort ? 0 : 100);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DownloaderBadAnswerTest,
    testing::Values(BadAnswer{"CutConnection", {.cutAfterBytes = 100000}, 300000, true},
                    BadAnswer{"ShorterThanAnnounced", {.announcedLength = 400000}, 300000, true},
                    BadAnswer{"ServerError", {.status = 500}, 1000, false},
                    BadAnswer{"EmptyBody", {}, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloaderTest, WholeBodyArrivesWithProgressFromZeroToHundredAndItsUserAgent) {
  const std::string body = Body(3 * 1024 * 1024 + 17);
  const std::string url = server_.AddFile("/big.bin", body);
  server_->SetFault("/big.bin", {.bytesPerSecond = 12 * 1024 * 1024});
  ASSERT_TRUE(downloader_.Download(url, Target().string()));
  EXPECT_EQ(ReadFile(Target()), body);
  EXPECT_EQ(FilesLeft(), 1u);
  EXPECT_EQ(errors_, 0);
  ASSERT_GE(progress_.size(), 3u);
  EXPECT_EQ(progress_.front(), 0);
  EXPECT_EQ(progress_.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress_.begin(), progress_.end()));
  EXPECT_TRUE(std::any_of(progress_.begin(), progress_.end(), [](std::int64_t p) {
    return p > 0 && p < 100;
  })) << "no progress between start and end";
  EXPECT_EQ(server_->Requests().back().Header("User-Agent"), TDownloader::kUserAgent);
}

TEST_F(DownloaderTest, BodyWithoutALengthReportsZeroUntilTheEndThenHundred) {
  const std::string body = Body(2 * 1024 * 1024);
  const std::string url = server_.AddFile("/chunked.bin", body);
  server_->SetFault("/chunked.bin", {.bytesPerSecond = 8 * 1024 * 1024, .chunked = true});
  ASSERT_TRUE(downloader_.Download(url, Target().string()));
  EXPECT_EQ(ReadFile(Target()), body);
  ASSERT_GE(progress_.size(), 3u);
  EXPECT_EQ(progress_.back(), 100);
  EXPECT_TRUE(
      std::all_of(progress_.begin(), progress_.end() - 1, [](std::int64_t p) { return p == 0; }));
}

TEST_F(DownloaderTest, SecondAttemptRecoversFromOneFailure) {
  const std::string url = server_.AddFile("/flaky.bin", "contents");
  server_->SetFault("/flaky.bin", {.status = 503, .times = 1});
  EXPECT_TRUE(downloader_.Download(url, Target().string()));
  EXPECT_EQ(errors_, 0);
  EXPECT_EQ(RequestsFor("/flaky.bin"), 2u);
  EXPECT_EQ(ReadFile(Target()), "contents");
}

TEST_F(DownloaderTest, FollowedRedirectSavesTheFinalBody) {
  const std::string url = server_.AddFile("/final.bin", "final");
  server_->SetFault("/moved.bin", {.redirectTo = url});
  EXPECT_TRUE(downloader_.Download(server_.url("/moved.bin"), Target().string()));
  EXPECT_EQ(ReadFile(Target()), "final");
}

TEST_F(DownloaderTest, BusyDownloaderRefusesASecondTransferWhileOneRuns) {
  const std::string body = Body(1024 * 1024);
  const std::string url = server_.AddFile("/busy.bin", body);
  server_->SetFault("/busy.bin", {.bytesPerSecond = 4 * 1024 * 1024});
  bool nestedResult = true;
  bool sawBusy = false;
  downloader_.OnProgress = [&](TDownloader* d) {
    if (d->Progress() > 0 && d->Progress() < 100 && !sawBusy) {
      sawBusy = d->Busy();
      nestedResult = d->Download(url, Target("other.bin").string());
    }
  };
  EXPECT_TRUE(downloader_.Download(url, Target().string()));
  EXPECT_TRUE(sawBusy);
  EXPECT_FALSE(nestedResult);
  EXPECT_FALSE(fs::exists(Target("other.bin")));
  EXPECT_EQ(ReadFile(Target()), body);
  EXPECT_FALSE(downloader_.Busy());
}

TEST(DownloaderTlsTest, HttpsNeedsACertificateFromTheGivenAuthority) {
  testsupport::LocalServer server(true);
  QTemporaryDir folder;
  const std::string url = server.AddFile("/s.bin", "secret");
  const std::string target = (folder.path() + "/s.bin").toStdString();

  TDownloader trusting(server.CaFile());
  EXPECT_TRUE(trusting.Download(url, target));
  EXPECT_EQ(ReadFile(target), "secret");

  TDownloader other(testsupport::WriteUnrelatedCa(folder.path().toStdString()));
  EXPECT_FALSE(other.Download(url, target));
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(DownloaderTest, UnreachableHostAndOtherSchemesFailWithoutWriting) {
  for (const std::string& url : {std::string("http://127.0.0.1:1/x.bin"),
                                 "file://" + Target("src.bin").string(), std::string("nonsense")}) {
    std::ofstream(Target("src.bin")) << "local";
    EXPECT_FALSE(downloader_.Download(url, Target().string())) << url;
    EXPECT_FALSE(fs::exists(Target())) << url;
  }
}

}  // namespace
