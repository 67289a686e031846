// The log in the program: born when the main window first shows, delivered
// to the maker's server by the close, on the demo's simulated PC.
#include <gtest/gtest.h>

#include <QLabel>

#include "app/Globals.h"
#include "app/ProgramEntry.h"
#include "app/ServerSettings.h"
#include "app/UAPI.h"
#include "app/fp.h"
#include "catalogue/DataModule.h"
#include "platform/Platform.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "sim/DemoState.h"
#include "sim/DemoWorld.h"

namespace {

class ProgramLogTest : public testing::Test {
 protected:
  void SetUp() override {
    auto created = sim::DemoWorld::Create({});
    ASSERT_TRUE(created) << created.error();
    world_ = std::move(*created);
    auto state = sim::WriteDemoState(*world_, QStringLiteral("/bin/true"));
    ASSERT_TRUE(state) << state.error().toStdString();
    ServerSettings::SetMakerBaseUrl(world_->ServerUrl());
    ServerSettings::SetGeoBaseUrl(world_->GeoUrl());
    ServerSettings::SetCaBundle(world_->CaFile());
    platform::SetCurrent(platform::CreatePlatform({"sim", state->toStdString(), nullptr}));
    CreateProgramObjects();
  }

  void TearDown() override {
    DestroyProgramObjects();
    platform::SetCurrent({});
  }

  std::unique_ptr<sim::DemoWorld> world_;
};

TEST_F(ProgramLogTest, TheFirstShowStartsTheRowAndTheCloseDeliversIt) {
  world_->Server().SetRecebeSystemLog(true);
  fp->show();
  ASSERT_FALSE(Rel->SystemId().isEmpty()) << "the main window's first show starts the row";
  EXPECT_TRUE(fp->lprotocolo()->text().isEmpty());
  Ptr->SetTipoOperacao("01");
  EXPECT_EQ(fp->lprotocolo()->text(), "Protocolo: " + Ptr->GetProtocol());
  EXPECT_TRUE(Ptr->GetProtocol().endsWith("-000-01"));
  Rel->SetRel("Dispositivo Escolhido - TV 32'");

  UAPI->FecharSistema();

  std::vector<sim::SoapCall> delivered;
  for (const auto& call : world_->Server().SoapCalls()) {
    if (call.operation == "RecebeSystemLog")
      delivered.push_back(call);
  }
  ASSERT_EQ(delivered.size(), 1u);
  const sim::SoapCall& call = delivered[0];
  EXPECT_TRUE(call.faultString.empty()) << call.faultString;
  EXPECT_EQ(call.Parameter("protocol"), Ptr->GetProtocol().toStdString());
  EXPECT_EQ(call.Parameter("pcname"), "PC-DEMO");
  EXPECT_EQ(call.Parameter("windowsuser"), "Cliente Solvanta");
  EXPECT_EQ(call.Parameter("macadress"), "00:1A:2B:3C:4D:5E");
  EXPECT_EQ(call.Parameter("systemversion"), UAPI->FExecVersion.toStdString());
  const std::string log = call.Parameter("useractions").value_or("");
  EXPECT_TRUE(log.ends_with("  -  Dispositivo Escolhido - TV 32'\r\n")) << log;
  EXPECT_EQ(log[2], '/') << "the demo PC's Brazilian date format: " << log;

  EXPECT_TRUE(
      sim::ReceivedLogReport(world_->Server())
          .contains("registro de uso recebido (protocolo " + Ptr->GetProtocol() + ", PC PC-DEMO"))
      << "the demo's console shows what the server received";

  TADOQuery sent(dm->adoLogConn,
                 "select LogEnviadoServer from systemlog where id=" + Rel->SystemId());
  ASSERT_TRUE(sent.Open()) << sent.LastError().toStdString();
  EXPECT_EQ(sent.FieldValue("LogEnviadoServer").toString(), "S");
}

}  // namespace
