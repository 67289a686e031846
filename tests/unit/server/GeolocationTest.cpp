#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "support/HttpClient.h"
#include "support/LocalServer.h"

namespace {

using testsupport::Fetch;

QJsonObject Json(const std::string& body) {
  return QJsonDocument::fromJson(QByteArray::fromStdString(body)).object();
}

TEST(GeolocationTest, AnswerWithoutAndWithTokenComeFromTheirOwnSettings) {
  testsupport::LocalServer local;
  local->SetGeolocation({200, sim::GeolocationJson("177.1.2.3", "São Paulo", "SP")});
  local->SetGeolocationWithToken({200, sim::GeolocationJson("10.0.0.9", "Goiânia", "GO")});

  const auto plain = Fetch({.url = local.url("/json")});
  ASSERT_EQ(plain.code, CURLE_OK) << plain.error;
  EXPECT_EQ(plain.status, 200);
  EXPECT_TRUE(plain.Header("Content-Type")->starts_with("application/json"));
  EXPECT_EQ(Json(plain.body)["ip"].toString(), "177.1.2.3");
  EXPECT_EQ(Json(plain.body)["city"].toString(), QString::fromUtf8("São Paulo"));
  EXPECT_EQ(Json(plain.body)["region"].toString(), "SP");

  const auto token = Fetch({.url = local.url("/json?token=0123456789abcd")});
  EXPECT_EQ(Json(token.body)["city"].toString(), QString::fromUtf8("Goiânia"));
  EXPECT_EQ(local->Requests().back().query, "token=0123456789abcd");
}

TEST(GeolocationTest, ConfiguredFailureAnswersItsStatusAndBody) {
  testsupport::LocalServer local;
  local->SetGeolocation({503, ""});
  local->SetGeolocationWithToken({200, "{\"ip\":\"1.1.1.1\"}"});  // a member missing
  EXPECT_EQ(Fetch({.url = local.url("/json")}).status, 503);
  const auto token = Fetch({.url = local.url("/json?token=x")});
  EXPECT_EQ(token.status, 200);
  EXPECT_FALSE(Json(token.body).contains("city"));
}

}  // namespace
