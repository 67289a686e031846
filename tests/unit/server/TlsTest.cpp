#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sim/server/Certificates.h"
#include "support/HttpClient.h"
#include "support/LocalServer.h"

namespace {

using testsupport::Fetch;

class TlsTest : public ::testing::Test {
 protected:
  testsupport::LocalServer local{true};
  const std::string url = local.AddFile("/solvanta/updates/f.txt", "seguro");
};

TEST_F(TlsTest, ClientTrustingTheGeneratedCaGetsTheFile) {
  ASSERT_TRUE(url.starts_with("https://127.0.0.1:"));
  const auto r = Fetch({.url = url, .caFile = local.CaFile()});
  ASSERT_EQ(r.code, CURLE_OK) << r.error;
  EXPECT_EQ(r.body, "seguro");
  // The certificate also names "localhost".
  const auto byName = Fetch(
      {.url = "https://localhost:" + std::to_string(local->Port()) + "/solvanta/updates/f.txt",
       .caFile = local.CaFile()});
  EXPECT_EQ(byName.code, CURLE_OK) << byName.error;
}

TEST_F(TlsTest, ClientTrustingAnotherCaOrNoneIsRefused) {
  QTemporaryDir other;
  const auto wrongCa = testsupport::WriteUnrelatedCa(other.path().toStdString());
  const auto r = Fetch({.url = url, .caFile = wrongCa});
  EXPECT_EQ(r.code, CURLE_PEER_FAILED_VERIFICATION) << r.error;
  EXPECT_TRUE(r.body.empty());
  EXPECT_EQ(Fetch({.url = url}).code, CURLE_PEER_FAILED_VERIFICATION);  // system CAs only
}

TEST(TlsStartTest, UnusableCertificateOrKeyFailsToStartWithAReason) {
  auto good = sim::GenerateCertificates();
  ASSERT_TRUE(good) << good.error();
  auto other = sim::GenerateCertificates();
  ASSERT_TRUE(other) << other.error();
  const sim::TlsIdentity identities[] = {
      {"não é PEM", good->server.privateKeyPem},
      {good->server.certificatePem, "não é PEM"},
      {good->server.certificatePem, other->server.privateKeyPem},  // key of another certificate
  };
  for (const auto& identity : identities) {
    sim::MakerServer server({.tls = identity});
    const auto started = server.Start();
    ASSERT_FALSE(started);
    EXPECT_NE(started.error().find("TLS"), std::string::npos);
  }
}

}  // namespace
