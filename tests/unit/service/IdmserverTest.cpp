// The client against the local maker server over HTTPS, certificates checked.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "service/Idmserver.h"
#include "support/LocalServer.h"

namespace {

using service::ServiceError;

class IdmserverTest : public testing::Test {
 protected:
  std::unique_ptr<service::Idmserver> Client(const std::string& ca) {
    return service::CreateIdmserver(local_.url(service::kServicePath), ca);
  }
  std::unique_ptr<service::Idmserver> Client() { return Client(local_.CaFile()); }

  static ServiceError::Kind KindOf(const std::function<void()>& call) {
    try {
      call();
    } catch (const ServiceError& e) {
      return e.kind();
    }
    ADD_FAILURE() << "the call did not raise";
    return ServiceError::Kind::Unreadable;
  }

  testsupport::LocalServer local_{true};
};

TEST_F(IdmserverTest, EachOperationSendsItsNameActionAndKeyAndReadsItsAnswer) {
  local_->SetReturnUpdate("a.slvr,1001,c:\\x,y\r\nb.slvr,1002,,");
  local_->SetUpdateDbTvs("1$TV 32'$#");
  for (const sim::SoapStyle style : {sim::SoapStyle::Inline, sim::SoapStyle::MultiRef}) {
    local_->SetSoapStyle(style);
    local_->ClearRecord();
    auto client = Client();
    EXPECT_EQ(client->ReturnUpdate(service::kKey), "a.slvr,1001,c:\\x,y\r\nb.slvr,1002,,");
    EXPECT_EQ(client->UpdateDbTvs(service::kKey), "1$TV 32'$#");
    const auto calls = local_->SoapCalls();
    ASSERT_EQ(calls.size(), 2u);
    for (std::size_t i = 0; i < calls.size(); ++i) {
      const char* operation = i == 0 ? "ReturnUpdate" : "UpdateDbTvs";
      EXPECT_EQ(calls[i].operation, operation);
      EXPECT_EQ(calls[i].soapAction, std::string("urn:udmserver-Idmserver#") + operation);
      ASSERT_EQ(calls[i].parameters.size(), 1u);
      EXPECT_EQ(calls[i].parameters[0],
                std::make_pair(std::string("Key"), std::string(sim::kServiceKey)));
      EXPECT_TRUE(calls[i].faultString.empty()) << calls[i].faultString;
    }
  }
}

TEST_F(IdmserverTest, RecebeSystemLogSendsTheTwentySevenParametersInOrderAndReadsTheBoolean) {
  service::SystemLogValues values;
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = "v" + std::to_string(i);
  values[21] = "01/02/2024 10:00:00  -  Dispositivo Escolhido - TV 32' & \"x\"\r\n";
  auto client = Client();
  local_->SetRecebeSystemLog(true);
  EXPECT_TRUE(client->RecebeSystemLog(service::kKey, values));
  local_->SetRecebeSystemLog(false);
  local_->SetSoapStyle(sim::SoapStyle::MultiRef);
  EXPECT_FALSE(client->RecebeSystemLog(service::kKey, values));

  const auto calls = local_->SoapCalls();
  ASSERT_EQ(calls.size(), 2u);
  const auto& sent = calls[0].parameters;
  ASSERT_EQ(sent.size(), 27u);
  EXPECT_EQ(sent[0].first, "Key");
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(sent[i + 1].first, service::kSystemLogParameters[i]);
    EXPECT_EQ(sent[i + 1].second, values[i]);
  }
  EXPECT_EQ(calls[0].soapAction, "urn:udmserver-Idmserver#RecebeSystemLog");
}

TEST_F(IdmserverTest, AFaultRaisesAsAFault) {
  local_->SetSoapFault("ReturnUpdate", sim::SoapFault{"SOAP-ENV:Server", "manutenção"});
  auto client = Client();
  EXPECT_EQ(KindOf([&] { client->ReturnUpdate(service::kKey); }), ServiceError::Kind::Fault);
  // A wrong key is the server's fault answer too, not a value.
  EXPECT_EQ(KindOf([&] { client->UpdateDbTvs("errada"); }), ServiceError::Kind::Fault);
}

TEST_F(IdmserverTest, NoAnswerRaisesAsATransportFailure) {
  QTemporaryDir folder;
  const std::string unrelatedCa = testsupport::WriteUnrelatedCa(folder.path().toStdString());
  EXPECT_EQ(KindOf([&] { Client(unrelatedCa)->ReturnUpdate(service::kKey); }),
            ServiceError::Kind::Transport)
      << "a certificate the CA did not sign must be refused";

  local_->SetFault(service::kServicePath, sim::PathFault{.status = 404});
  EXPECT_EQ(KindOf([&] { Client()->ReturnUpdate(service::kKey); }), ServiceError::Kind::Transport);
  local_->SetFault(service::kServicePath, sim::PathFault{.status = 500});
  EXPECT_EQ(KindOf([&] { Client()->ReturnUpdate(service::kKey); }), ServiceError::Kind::Transport)
      << "a 500 without an envelope is no fault";
  local_->ClearFaults();
  local_->SetFault(service::kServicePath, sim::PathFault{.cutAfterBytes = 40});
  EXPECT_NE(KindOf([&] { Client()->ReturnUpdate(service::kKey); }), ServiceError::Kind::Fault);

  const std::string deadUrl = local_.url(service::kServicePath);
  local_->Stop();
  EXPECT_EQ(KindOf([&] {
              service::CreateIdmserver(deadUrl, local_.CaFile())->ReturnUpdate(service::kKey);
            }),
            ServiceError::Kind::Transport);
}

}  // namespace
