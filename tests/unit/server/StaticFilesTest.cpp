#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/HttpClient.h"
#include "support/LocalServer.h"

namespace {

using testsupport::Fetch;
using testsupport::HttpRequest;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>(i % 251);
  }
  return bytes;
}

class StaticFilesTest : public ::testing::Test {
 protected:
  testsupport::LocalServer local;
  const std::string content = Pattern(1000);
  const std::string url = local.AddFile("/solvanta/updates/file.bin", content);
};

struct RangeCase {
  const char* range;
  std::size_t first;
  std::size_t last;
};

TEST_F(StaticFilesTest, SatisfiableRangesAnswer206WithExactlyTheAskedBytes) {
  const RangeCase cases[] = {
      {"0-0", 0, 0},           // first byte
      {"400-599", 400, 599},   // middle
      {"999-999", 999, 999},   // last byte
      {"990-", 990, 999},      // open end
      {"-10", 990, 999},       // suffix
      {"995-5000", 995, 999},  // end past the size is clipped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range);
    const auto r = Fetch({.url = url, .range = c.range});
    ASSERT_EQ(r.code, CURLE_OK) << r.error;
    EXPECT_EQ(r.status, 206);
    EXPECT_EQ(r.body, content.substr(c.first, c.last - c.first + 1));
    EXPECT_EQ(r.Header("Content-Range"),
              "bytes " + std::to_string(c.first) + "-" + std::to_string(c.last) + "/1000");
    EXPECT_EQ(r.Header("Content-Length"), std::to_string(c.last - c.first + 1));
  }
}

TEST_F(StaticFilesTest, RangeStartingPastTheEndAnswers416WithTheSize) {
  for (const char* range : {"1000-", "1000-1000", "5000-6000"}) {
    SCOPED_TRACE(range);
    const auto r = Fetch({.url = url, .range = range});
    EXPECT_EQ(r.status, 416);
    EXPECT_EQ(r.Header("Content-Range"), "bytes */1000");
    EXPECT_TRUE(r.body.empty());
  }
}

TEST_F(StaticFilesTest, WholeGetAndHeadAnnounceLengthRangesAndValidators) {
  const auto get = Fetch({.url = url});
  ASSERT_EQ(get.code, CURLE_OK) << get.error;
  EXPECT_EQ(get.status, 200);
  EXPECT_EQ(get.body, content);

  const auto head = Fetch({.url = url, .method = "HEAD"});
  ASSERT_EQ(head.code, CURLE_OK) << head.error;
  EXPECT_EQ(head.status, 200);
  EXPECT_EQ(head.Header("Content-Length"), "1000");
  EXPECT_EQ(head.Header("Accept-Ranges"), "bytes");
  EXPECT_TRUE(head.body.empty());
  ASSERT_TRUE(head.Header("ETag"));
  EXPECT_EQ(head.Header("ETag"), get.Header("ETag"));
  ASSERT_TRUE(head.Header("Last-Modified"));
  EXPECT_TRUE(head.Header("Last-Modified")->ends_with(" GMT"));
}

TEST_F(StaticFilesTest, ChangedFileGetsANewETag) {
  const auto before = Fetch({.url = url, .method = "HEAD"}).Header("ETag");
  local.AddFile("/solvanta/updates/file.bin", content + "more");
  EXPECT_NE(Fetch({.url = url, .method = "HEAD"}).Header("ETag"), before);
}

TEST_F(StaticFilesTest, IgnoreRangesModeAnswers200WithTheWholeBody) {
  local->SetIgnoreRanges(true);
  const auto r = Fetch({.url = url, .range = "10-19"});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, content);
  EXPECT_FALSE(r.Header("Content-Range"));
  EXPECT_EQ(r.Header("Accept-Ranges"), "none");
}

TEST_F(StaticFilesTest, OffsetsBeyond4GiBAreNotTruncated) {
  // A sparse file: large on paper, nothing on disk, and never read whole.
  const auto big = local.root() / "big.bin";
  const std::uint64_t size = 5ull * 1024 * 1024 * 1024 + 7;
  std::ofstream(big, std::ios::binary).put('\0');
  std::filesystem::resize_file(big, size);

  const auto head = Fetch({.url = local.url("/big.bin"), .method = "HEAD"});
  EXPECT_EQ(head.Header("Content-Length"), std::to_string(size));
  const auto tail = Fetch({.url = local.url("/big.bin"), .range = "-5"});
  ASSERT_EQ(tail.code, CURLE_OK) << tail.error;
  EXPECT_EQ(tail.status, 206);
  EXPECT_EQ(tail.body, std::string(5, '\0'));
  EXPECT_EQ(tail.Header("Content-Range"), "bytes " + std::to_string(size - 5) + "-" +
                                              std::to_string(size - 1) + "/" +
                                              std::to_string(size));
}

TEST_F(StaticFilesTest, MissingFilesFoldersAndEscapesAreRefused) {
  EXPECT_EQ(Fetch({.url = local.url("/solvanta/updates/none.bin")}).status, 404);
  EXPECT_EQ(Fetch({.url = local.url("/solvanta/updates/")}).status, 404);
  const auto escape = Fetch({.url = local.url("/solvanta/../../etc/passwd"), .pathAsIs = true});
  EXPECT_EQ(escape.status, 403);
  EXPECT_EQ(escape.body.find("root:"), std::string::npos);
}

TEST_F(StaticFilesTest, EmptyFileAnswersZeroLengthAndRangesOnItAre416) {
  const auto empty = local.AddFile("/empty.txt", "");
  const auto r = Fetch({.url = empty});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.Header("Content-Length"), "0");
  EXPECT_EQ(Fetch({.url = empty, .range = "0-0"}).status, 416);
}

TEST_F(StaticFilesTest, RecordKeepsMethodPathQueryHeadersAndBody) {
  Fetch({.url = url + "?x=1&y=%20", .headers = {"X-Probe: one"}, .range = "0-9"});
  Fetch({.url = local.url("/post/here"), .method = "POST", .body = "corpo á"});
  const auto requests = local->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].path, "/solvanta/updates/file.bin");
  EXPECT_EQ(requests[0].query, "x=1&y=%20");
  EXPECT_EQ(requests[0].Header("x-probe"), "one");
  EXPECT_EQ(requests[0].Header("Range"), "bytes=0-9");
  EXPECT_FALSE(requests[0].Header("REMOTE_ADDR"));
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].path, "/post/here");
  EXPECT_EQ(requests[1].body, "corpo á");
  local->ClearRecord();
  EXPECT_TRUE(local->Requests().empty());
}

}  // namespace
