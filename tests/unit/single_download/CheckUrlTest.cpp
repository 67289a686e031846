// The link check: the scheme rule and the statuses that count as reachable.
#include <gtest/gtest.h>

#include "download/CheckUrl.h"
#include "support/LocalServer.h"

namespace {

TEST(CheckUrlTargetTest, SchemeIsAddedOnlyWhenNeitherHttpNorHttpsAppears) {
  struct Case {
    const char* url;
    const char* expected;
  };
  for (const Case& c : {Case{"127.0.0.1:8080/a.jpg", "http://127.0.0.1:8080/a.jpg"},
                        Case{"HTTP://host/a.jpg", "HTTP://host/a.jpg"},
                        Case{"Https://host/a.jpg", "Https://host/a.jpg"},
                        Case{"https://host/a.jpg", "https://host/a.jpg"},
                        Case{"ftp://host/a.jpg", "http://ftp://host/a.jpg"}}) {
    EXPECT_EQ(download::CheckUrlTarget(c.url), c.expected) << c.url;
  }
}

class CheckUrlTest : public testing::Test {
 protected:
  testsupport::LocalServer server_;
};

TEST_F(CheckUrlTest, OnlyFinalStatus200Or302CountsAsReachable) {
  const std::string present = server_.AddFile("/img/a.jpg", std::string(5 * 1024 * 1024, 'x'));
  server_->SetFault("/found.jpg", {.status = 302});
  server_->SetFault("/moved.jpg", {.redirectTo = present});
  server_->SetFault("/moved-away.jpg", {.redirectTo = server_.url("/gone.jpg")});
  server_->SetFault("/broken.jpg", {.status = 500});
  struct Case {
    std::string url;
    bool reachable;
  };
  for (const Case& c :
       {Case{present, true}, Case{server_.url("/gone.jpg"), false},
        Case{server_.url("/found.jpg"), true}, Case{server_.url("/moved.jpg"), true},
        Case{server_.url("/moved-away.jpg"), false}, Case{server_.url("/broken.jpg"), false},
        Case{present.substr(std::string("http://").size()), true},
        Case{"http://127.0.0.1:1/a.jpg", false}}) {
    EXPECT_EQ(download::CheckUrl(c.url), c.reachable) << c.url;
  }
}

TEST_F(CheckUrlTest, AsksAnewWithItsOwnAgent) {
  const std::string url = server_.AddFile("/a.jpg", "x");
  ASSERT_TRUE(download::CheckUrl(url));
  const auto request = server_->Requests().back();
  EXPECT_EQ(request.Header("User-Agent"), "InetURL:/1.0");
  EXPECT_EQ(request.Header("Cache-Control"), "no-cache");
}

TEST(CheckUrlTlsTest, HttpsIsCheckedAgainstTheGivenAuthority) {
  testsupport::LocalServer server(true);
  const std::string url = server.AddFile("/a.jpg", "x");
  EXPECT_TRUE(download::CheckUrl(url, server.CaFile()));
  EXPECT_FALSE(download::CheckUrl(url));  // the system's bundle does not know the test CA
}

}  // namespace
