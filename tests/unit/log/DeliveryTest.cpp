// The delivery of undelivered rows to the local maker server at the close.
#include "LogFixture.h"
#include "support/LocalServer.h"

namespace {

class DeliveryTest : public LogFixture {
 protected:
  void SetUp() override {
    LogFixture::SetUp();
    service_ = service::CreateIdmserver(local_.url(service::kServicePath), local_.CaFile());
  }

  std::vector<sim::SoapCall> LogCalls() {
    std::vector<sim::SoapCall> calls;
    for (auto& c : local_->SoapCalls()) {
      if (c.operation == "RecebeSystemLog")
        calls.push_back(std::move(c));
    }
    return calls;
  }

  QStringList Sent() {
    QStringList flags;
    for (const auto& row : Rows())
      flags << row.at("LogEnviadoServer");
    return flags;
  }

  testsupport::LocalServer local_{true};
};

TEST_F(DeliveryTest, AKeptRowTurnsSAndCarriesEveryColumnInOrder) {
  facts_.ItemclientName = "Joana D'Ávila & filhos";
  auto run = MakeRun();
  run.rel->inicializar();
  run.rel->SetRel("Dispositivo Escolhido - TV 32'");
  local_->SetRecebeSystemLog(true);
  run.rel->EnviaSystemLog();

  const auto calls = LogCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].faultString.empty()) << calls[0].faultString;
  const auto row = Rows().at(0);
  ASSERT_EQ(calls[0].parameters.size(), 27u);
  EXPECT_EQ(calls[0].parameters[0].second, sim::kServiceKey);
  for (std::size_t i = 0; i < service::kSystemLogParameters.size(); ++i) {
    const char* column = service::kSystemLogParameters[i];
    EXPECT_EQ(calls[0].parameters[i + 1].first, column);
    EXPECT_EQ(QString::fromStdString(calls[0].parameters[i + 1].second), row.at(column)) << column;
  }
  EXPECT_EQ(row.at("LogEnviadoServer"), "S");

  run.rel->EnviaSystemLog();
  EXPECT_EQ(LogCalls().size(), 1u) << "a delivered row is never sent again";
}

TEST_F(DeliveryTest, ARefusedRowStaysNAndGoesAgainWithTheNextRunsRow) {
  auto first = MakeRun();
  first.rel->inicializar();
  local_->SetRecebeSystemLog(false);
  first.rel->EnviaSystemLog();
  EXPECT_EQ(LogCalls().size(), 1u);
  EXPECT_EQ(Sent(), QStringList({"N"}));

  // The next run: another process with its own data module.
  Tdm next;
  ASSERT_TRUE(next.OpenDatabases(Dir()));
  now_ = now_.addDays(1);
  auto second = MakeRun(&next);
  second.rel->inicializar();
  local_->SetRecebeSystemLog(true);
  local_->ClearRecord();
  second.rel->EnviaSystemLog();
  const auto calls = LogCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Parameter("protocol"), "23100207123-000-00");
  EXPECT_EQ(calls[1].Parameter("protocol"), "23110207123-000-00");
  EXPECT_EQ(Sent(), QStringList({"S", "S"}));
}

TEST_F(DeliveryTest, FaultsAndADeadServerLeaveEveryRowNAndEachRowIsTried) {
  MakeRun().rel->inicializar();
  auto run = MakeRun();
  run.rel->inicializar();
  local_->SetSoapFault("RecebeSystemLog", sim::SoapFault{"SOAP-ENV:Server", "banco cheio"});
  run.rel->EnviaSystemLog();
  EXPECT_EQ(LogCalls().size(), 2u) << "a failing row does not stop the next";
  EXPECT_EQ(Sent(), QStringList({"N", "N"}));

  local_->SetSoapFault("RecebeSystemLog", std::nullopt);
  local_->Stop();
  run.rel->EnviaSystemLog();
  EXPECT_EQ(Sent(), QStringList({"N", "N"}));
}

}  // namespace
