#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "support/HttpClient.h"
#include "support/LocalServer.h"

namespace {

using testsupport::Fetch;
using namespace std::chrono_literals;

class FaultsTest : public ::testing::Test {
 protected:
  testsupport::LocalServer local;
  const std::string content = std::string(100000, 'x') + "end";
  const std::string url = local.AddFile("/solvanta/rewriter/tool.zip", content);
};

TEST_F(FaultsTest, ThrottledTransferKeepsWithin20PercentOfTheRate) {
  constexpr std::uint64_t kRate = 200 * 1024;
  const std::string big(300 * 1024, 'r');
  const auto bigUrl = local.AddFile("/big.bin", big);
  local->SetFault("/big.bin", {.bytesPerSecond = kRate});
  const auto r = Fetch({.url = bigUrl});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.body.size(), big.size());
  const double rate = static_cast<double>(big.size()) / r.seconds;
  EXPECT_NEAR(rate, static_cast<double>(kRate), 0.2 * kRate) << "seconds " << r.seconds;
}

TEST_F(FaultsTest, CutConnectionEndsTheTransferEarlyWithAnError) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.cutAfterBytes = 30000});
  const auto r = Fetch({.url = url});
  EXPECT_EQ(r.code, CURLE_PARTIAL_FILE) << r.error;
  EXPECT_EQ(r.body, content.substr(0, 30000));
  EXPECT_EQ(r.Header("Content-Length"), std::to_string(content.size()));
}

TEST_F(FaultsTest, CutAppliesInsideARangeToo) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.cutAfterBytes = 10});
  const auto r = Fetch({.url = url, .range = "99990-"});
  EXPECT_EQ(r.code, CURLE_PARTIAL_FILE) << r.error;
  EXPECT_EQ(r.status, 206);
  EXPECT_EQ(r.body, content.substr(99990, 10));
}

TEST_F(FaultsTest, ChunkedAnswerHasNoLengthAndTheWholeBody) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.chunked = true});
  const auto r = Fetch({.url = url});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.status, 200);
  EXPECT_FALSE(r.Header("Content-Length"));
  EXPECT_EQ(r.Header("Transfer-Encoding"), "chunked");
  EXPECT_EQ(r.body, content);
}

TEST_F(FaultsTest, WrongContentLengthIsAnnouncedAndTheBodyDoesNotMatchIt) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.announcedLength = content.size() + 500});
  const auto longer = Fetch({.url = url});
  EXPECT_EQ(longer.code, CURLE_PARTIAL_FILE) << longer.error;
  EXPECT_EQ(longer.Header("Content-Length"), std::to_string(content.size() + 500));
  EXPECT_EQ(longer.body, content);

  local->SetFault("/solvanta/rewriter/tool.zip", {.announcedLength = 100});
  const auto shorter = Fetch({.url = url});
  ASSERT_EQ(shorter.code, CURLE_OK) << shorter.error;
  EXPECT_EQ(shorter.body, content.substr(0, 100));
}

TEST_F(FaultsTest, StatusFaultMatchesExactPathBeforeLongestPrefix) {
  const auto other = local.AddFile("/solvanta/updates/list.txt", "lista");
  const auto unrelated = local.AddFile("/elsewhere.txt", "fora");
  local->SetFault("/solvanta/*", {.status = 500});
  local->SetFault("/solvanta/updates/*", {.status = 503});
  local->SetFault("/solvanta/updates/list.txt", {.status = 404});
  EXPECT_EQ(Fetch({.url = url}).status, 500);
  EXPECT_EQ(Fetch({.url = other}).status, 404);
  EXPECT_EQ(Fetch({.url = local.url("/solvanta/updates/x")}).status, 503);
  EXPECT_EQ(Fetch({.url = unrelated}).status, 200);
  EXPECT_EQ(Fetch({.url = local.url("/solvanta")}).status, 404);  // not below the prefix
  local->ClearFaults();
  EXPECT_EQ(Fetch({.url = url}).body, content);
}

TEST_F(FaultsTest, FaultLimitedInTimesLetsTheFollowingRequestsThrough) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.status = 500, .times = 2});
  EXPECT_EQ(Fetch({.url = url}).status, 500);
  EXPECT_EQ(Fetch({.url = url, .method = "HEAD"}).status, 500);
  const auto third = Fetch({.url = url});
  EXPECT_EQ(third.status, 200);
  EXPECT_EQ(third.body, content);
}

TEST_F(FaultsTest, RedirectAnswers302ToTheGivenLocation) {
  const auto target = local.AddFile("/moved/tool.zip", "novo");
  local->SetFault("/solvanta/rewriter/tool.zip", {.redirectTo = target});
  const auto r = Fetch({.url = url});
  EXPECT_EQ(r.status, 302);
  EXPECT_EQ(r.Header("Location"), target);
  const auto followed = Fetch({.url = url, .followRedirects = true});
  EXPECT_EQ(followed.status, 200);
  EXPECT_EQ(followed.body, "novo");
}

TEST_F(FaultsTest, DelayHoldsTheAnswerBack) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.delay = 400ms});
  const auto r = Fetch({.url = url});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_GE(r.seconds, 0.4);
  EXPECT_EQ(r.body, content);
}

TEST_F(FaultsTest, DelayLongerThanTheClientTimeoutTimesOut) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.delay = 5s});
  const auto r = Fetch({.url = url, .timeoutMs = 300});
  EXPECT_EQ(r.code, CURLE_OPERATION_TIMEDOUT);
}

TEST_F(FaultsTest, StopDoesNotWaitForDelayedOrThrottledAnswers) {
  local->SetFault("/solvanta/rewriter/tool.zip", {.delay = 30s});
  local->SetFault("/slow.bin", {.bytesPerSecond = 1000});
  const auto slow = local.AddFile("/slow.bin", std::string(100000, 's'));
  auto delayed = std::async(std::launch::async, [&] { return Fetch({.url = url}); });
  auto throttled = std::async(std::launch::async, [&] { return Fetch({.url = slow}); });
  while (local->Requests().size() < 2) {
    std::this_thread::sleep_for(10ms);
  }
  const auto start = std::chrono::steady_clock::now();
  local->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  EXPECT_NE(delayed.get().status, 200);
  EXPECT_NE(throttled.get().code, CURLE_OK);
}

}  // namespace
