#include <gtest/gtest.h>

#include "sim/server/AnswersFile.h"
#include "support/HttpClient.h"
#include "support/LocalServer.h"

namespace {

using testsupport::Fetch;

TEST(AnswersFileTest, AppliedAnswersChangeWhatTheServerSays) {
  testsupport::LocalServer local;
  const auto file = local.AddFile("/x.bin", std::string(1000, 'a'));
  const auto applied = sim::ApplyAnswers(local.server(), R"({
    "ReturnUpdate": "a.slvr,1001,c,d",
    "RecebeSystemLog": false,
    "soapStyle": "multiref",
    "soapFaults": {"UpdateDbTvs": "fora do ar"},
    "geolocation": {"ip": "1.2.3.4", "city": "Recife", "region": "PE"},
    "ignoreRanges": true,
    "faults": {"/x.bin": {"cutAfterBytes": 10, "times": 1}, "/gone/*": {"status": 410}}
  })");
  ASSERT_TRUE(applied) << applied.error();

  const auto cut = Fetch({.url = file, .range = "0-99"});
  EXPECT_EQ(cut.code, CURLE_PARTIAL_FILE);
  EXPECT_EQ(cut.status, 200);  // ranges ignored
  EXPECT_EQ(cut.body.size(), 10u);
  EXPECT_EQ(Fetch({.url = file}).body.size(), 1000u);  // the cut applied once
  EXPECT_EQ(Fetch({.url = local.url("/gone/a")}).status, 410);
  EXPECT_EQ(Fetch({.url = local.url("/json")}).body,
            R"({"city":"Recife","ip":"1.2.3.4","region":"PE"})");

  const std::string key = "<Key>%&amp;*#!?qzvnmlkjpw!&amp;?rtyuOPQ</Key>";
  const auto call = [&](const std::string& operation) {
    return testsupport::PostSoap(
        local.url(sim::kSoapPath), std::string(sim::kSoapNamespace) + "#" + operation,
        "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body><o:" +
            operation + " xmlns:o=\"urn:udmserver-Idmserver\">" + key + "</o:" + operation +
            "></e:Body></e:Envelope>");
  };
  const auto update = call("ReturnUpdate");
  EXPECT_NE(update.body.find("href=\"#1\""), std::string::npos) << update.body;
  EXPECT_NE(update.body.find(">a.slvr,1001,c,d<"), std::string::npos);
  EXPECT_NE(call("RecebeSystemLog").body.find(">false<"), std::string::npos);
  const auto tvs = call("UpdateDbTvs");
  EXPECT_EQ(tvs.status, 500);
  EXPECT_NE(tvs.body.find("fora do ar"), std::string::npos);
}

TEST(AnswersFileTest, InvalidAnswersAreRejectedWithAReasonAndNothingApplied) {
  const std::pair<const char*, const char*> cases[] = {
      {"{", "JSON"},
      {"[1]", "objeto"},
      {R"({"ReturnUpdate": "x", "RecebeSystemLog": "sim"})", "RecebeSystemLog"},
      {R"({"ReturnUpdate": "x", "faults": {"/a": {"status": -1}}})", "status"},
      {R"({"ReturnUpdate": "x", "faults": {"/a": {"speed": 1}}})", "speed"},
      {R"({"ReturnUpdate": "x", "soapStyle": "rpc"})", "soapStyle"},
      {R"({"ReturnUpdate": "x", "Answer": 1})", "Answer"},
  };
  testsupport::LocalServer local;
  local->SetReturnUpdate("original");
  for (const auto& [json, reason] : cases) {
    SCOPED_TRACE(json);
    const auto applied = sim::ApplyAnswers(local.server(), json);
    ASSERT_FALSE(applied);
    EXPECT_NE(applied.error().find(reason), std::string::npos) << applied.error();
  }
  const auto missing = sim::ApplyAnswersFile(local.server(), local.root() / "none.json");
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("none.json"), std::string::npos);

  const auto r = testsupport::PostSoap(
      local.url(sim::kSoapPath), std::string(sim::kSoapNamespace) + "#ReturnUpdate",
      "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"><e:Body>"
      "<o:ReturnUpdate xmlns:o=\"urn:udmserver-Idmserver\"><Key>%&amp;*#!?qzvnmlkjpw!&amp;?"
      "rtyuOPQ</Key></o:ReturnUpdate></e:Body></e:Envelope>");
  EXPECT_NE(r.body.find(">original<"), std::string::npos) << r.body;
}

}  // namespace
