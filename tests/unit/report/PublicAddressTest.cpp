// The public address lookup against the local geolocation service.
#include <gtest/gtest.h>

#include "report/MachineInfo.h"
#include "support/LocalServer.h"

namespace {

class PublicAddressTest : public testing::Test {
 protected:
  report::MachineInfo Lookup() {
    report::MachineInfo info = Old();
    report::ReadPublicAddress(server_->BaseUrl(), info);
    return info;
  }

  static report::MachineInfo Old() {
    report::MachineInfo info;
    info.InfoIp = info.InfoCidade = info.InfoEstado = QStringLiteral("old");
    return info;
  }

  std::vector<std::string> Queries() {
    std::vector<std::string> queries;
    for (const auto& request : server_->Requests()) {
      EXPECT_EQ(request.path, "/json");
      queries.push_back(request.query);
    }
    return queries;
  }

  testsupport::LocalServer server_;
};

TEST_F(PublicAddressTest, GoodFirstAnswerIsTakenWithoutTheToken) {
  server_->SetGeolocation({200, sim::GeolocationJson("200.160.2.3", "Goiânia", "Goiás")});
  server_->SetGeolocationWithToken({200, sim::GeolocationJson("1.1.1.1", "x", "y")});
  const auto info = Lookup();
  EXPECT_EQ(info.InfoIp, QStringLiteral("200.160.2.3"));
  EXPECT_EQ(info.InfoCidade, QStringLiteral("Goiânia"));
  EXPECT_EQ(info.InfoEstado, QStringLiteral("Goiás"));
  EXPECT_EQ(Queries(), std::vector<std::string>{""});
}

TEST_F(PublicAddressTest, FailedFirstAnswerLeadsToTheRequestWithTheToken) {
  const sim::HttpAnswer firsts[] = {
      {200, R"({"ip":"200.160.2.3","city":"São Paulo"})"},                // no region
      {200, R"({"ip":"200.160.2.3","city":"São Paulo","region":null})"},  // not a string
      {429, R"({"ip":"200.160.2.3","city":"São Paulo","region":"SP"})"},  // refused
      {200, "São Paulo"},                                                 // no JSON object
  };
  for (const auto& first : firsts) {
    server_->ClearRecord();
    server_->SetGeolocation(first);
    server_->SetGeolocationWithToken(
        {200, sim::GeolocationJson("189.6.7.8", "São José dos Campos", "São Paulo")});
    const auto info = Lookup();
    EXPECT_EQ(info.InfoIp, QStringLiteral("189.6.7.8")) << first.body;
    EXPECT_EQ(info.InfoCidade, QStringLiteral("São José dos Campos")) << first.body;
    EXPECT_EQ(info.InfoEstado, QStringLiteral("São Paulo")) << first.body;
    EXPECT_EQ(Queries(), (std::vector<std::string>{"", std::string("token=") + report::kGeoToken}))
        << first.body;
  }
}

TEST_F(PublicAddressTest, BothAnswersFailingLeaveTheFieldsEmpty) {
  server_->SetGeolocation({500, "erro"});
  server_->SetGeolocationWithToken({200, R"({"ip":"1.2.3.4"})"});
  const auto info = Lookup();
  EXPECT_EQ(info.InfoIp, QString());
  EXPECT_EQ(info.InfoCidade, QString());
  EXPECT_EQ(info.InfoEstado, QString());
  EXPECT_EQ(Queries().size(), 2u);
}

TEST_F(PublicAddressTest, NoServerGivesEmptyFields) {
  const std::string url = server_->BaseUrl();
  server_->Stop();
  report::MachineInfo info = Old();
  report::ReadPublicAddress(url, info);
  EXPECT_EQ(info.InfoIp, QString());
  EXPECT_EQ(info.InfoCidade, QString());
  EXPECT_EQ(info.InfoEstado, QString());
}

}  // namespace
