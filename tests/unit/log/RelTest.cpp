// The run's row: its birth, the reports that rewrite it, the machine
// identity and the running text.
#include <QStringList>

#include "LogFixture.h"
#include "catalogue/Statements.h"
#include "platform/Environment.h"

namespace {

using RelTest = LogFixture;

TEST_F(RelTest, InicializarInsertsTheRunsRowWithTheMachineAndStartValues) {
  facts_.InfoCpu = QString(230, QLatin1Char('c'));
  SetWmi("Win32_OperatingSystem",
         {QJsonObject{{"CSName", QString(260, QLatin1Char('p'))}, {"RegisteredUser", "Maria"}}});
  auto run = MakeRun();
  run.rel->inicializar();

  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  const auto& row = rows[0];
  EXPECT_EQ(row.at("id"), run.rel->SystemId());
  EXPECT_EQ(row.at("macadress"), "00:1A:2B:3C:4D:5E") << "the first adapter with IP enabled";
  EXPECT_EQ(run.rel->logs().Owner.size(), 250) << "the record holds 250 characters";
  EXPECT_EQ(row.at("pcname"), QString(200, QLatin1Char('p'))) << "the column takes 200";
  EXPECT_EQ(row.at("windowsuser"), "Maria");
  EXPECT_EQ(row.at("externalipv4"), "177.10.20.30");
  EXPECT_EQ(row.at("operationsystem"), "Microsoft Windows 10 Pro - 64 bits");
  EXPECT_EQ(row.at("cpu"), QString(200, QLatin1Char('c')));
  EXPECT_EQ(row.at("city"), "São Paulo");
  EXPECT_EQ(row.at("state"), "SP");
  EXPECT_EQ(row.at("systemversion"), "2.4.0.17");
  EXPECT_EQ(row.at("protocol"), "23100207123-000-00");
  EXPECT_EQ(row.at("LogEnviadoServer"), "N");
  EXPECT_EQ(run.rel->logs().status, "1");
  EXPECT_EQ(run.rel->logs().ultimaacao, "10");
  EXPECT_FALSE(label_) << "the protocol label stays empty at the start";
}

TEST_F(RelTest, UnreadableMachineIdentityLeavesItsFieldsEmpty) {
  ASSERT_TRUE(pc_->Change([](QJsonObject& s) {
    s["wmiFailures"] = QJsonArray{"Win32_OperatingSystem", "Win32_NetworkAdapterConfiguration"};
  }));
  auto run = MakeRun();
  run.rel->inicializar();
  EXPECT_TRUE(run.rel->logs().MacAddress.isEmpty());
  EXPECT_TRUE(run.rel->logs().Usuario.isEmpty());
  EXPECT_TRUE(run.rel->logs().Owner.isEmpty());
  ASSERT_EQ(Rows().size(), 1u) << "the row is born all the same";
}

TEST_F(RelTest, EveryReportRewritesTheRowWithQuotesKeptIntact) {
  auto run = MakeRun();
  run.rel->inicializar();
  facts_.ItemModelo = "TV 32' Smart";
  facts_.ItemProductId = "1001";
  facts_.ItemChipset = "Tvs";
  facts_.ItemclientName = "Joana D'Ávila";
  facts_.ItemclientCpf = "123.456.789-09";
  facts_.ItemClientTelefone = "(11) 99999-0000";
  facts_.ItemClientEmail = "joana@exemplo.com.br";
  facts_.systemTotalTimeUp = "42";
  facts_.SystemFirmwareDownloadTime = "7";
  facts_.ItemTotalFirmwareDownloaded = "512";
  run.rel->SetRel("Dispositivo Escolhido - TV 32' Smart");
  run.rel->SetStatus("9");
  run.rel->SetUltimaAcao("25");
  run.ptr->SetTipoOperacao("01");
  run.rel->SetChipset("ignorado");

  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  const auto& row = rows[0];
  EXPECT_EQ(row.at("useractions"),
            "10/02/2023 14:35:07  -  Dispositivo Escolhido - TV 32' Smart\r\n");
  EXPECT_EQ(row.at("ProductName"), "TV 32' Smart");
  EXPECT_EQ(row.at("cd_nome"), "Joana D'Ávila");
  EXPECT_EQ(row.at("cd_cpf"), "123.456.789-09");
  EXPECT_EQ(row.at("cd_telefone"), "(11) 99999-0000");
  EXPECT_EQ(row.at("cd_email"), "joana@exemplo.com.br");
  EXPECT_EQ(row.at("productid"), "1001");
  EXPECT_EQ(row.at("chipset"), "Tvs") << "the chipset column takes ItemChipset";
  EXPECT_EQ(row.at("idsystemstatus"), "9");
  EXPECT_EQ(row.at("idlastuserinteraction"), "25");
  EXPECT_EQ(row.at("systemtotaltime"), "42");
  EXPECT_EQ(row.at("firmwaredownloadtime"), "7");
  EXPECT_EQ(row.at("downloadsize"), "512");
  EXPECT_EQ(row.at("protocol"), "23100207123-000-01");
}

TEST_F(RelTest, TwoReportsInOneSecondGiveTwoEntriesWithOneTimeStamp) {
  auto run = MakeRun();
  run.rel->inicializar();
  run.rel->SetRel("Baixando regravador");
  now_ = now_.addMSecs(800);
  run.rel->SetRel("Regravador baixado e descomprimido");
  const QString expected =
      "10/02/2023 14:35:07  -  Baixando regravador\r\n"
      "10/02/2023 14:35:07  -  Regravador baixado e descomprimido\r\n";
  EXPECT_EQ(run.rel->logs().log, expected);
  EXPECT_EQ(Rows()[0].at("useractions"), expected);
}

TEST_F(RelTest, TimeStampsTakeTheSeparatorsOfTheUsersSettings) {
  const QDateTime at(QDate(2023, 2, 10), QTime(9, 5, 7));
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"pt_BR", "10/02/2023 09:05:07"},
      {"de_DE", "10.02.2023 09:05:07"},
      {"fi_FI", "10.02.2023 09.05.07"},
      {"en_US", "10/02/2023 09:05:07"},
  };
  for (const auto& [name, expected] : cases) {
    locale_ = QLocale(QString::fromLatin1(name));
    EXPECT_EQ(MakeRun().rel->TimeStamp(at), expected) << name;
  }
}

TEST_F(RelTest, UserLocaleComesFromTheEnvironmentOfThePc) {
  const std::vector<std::pair<QJsonObject, QLocale::Language>> cases = {
      {{{"LANG", "pt_BR.UTF-8"}}, QLocale::Portuguese},
      {{{"LANG", "pt_BR.UTF-8"}, {"LC_TIME", "de_DE.UTF-8"}}, QLocale::German},
      {{{"LANG", "pt_BR.UTF-8"}, {"LC_ALL", "fi_FI@euro"}}, QLocale::Finnish},
  };
  for (const auto& [environment, language] : cases) {
    ASSERT_TRUE(pc_->Change([&](QJsonObject& s) { s["environment"] = environment; }));
    auto pc = platform::CreatePlatform({"sim", pc_->Path(), nullptr});
    EXPECT_EQ(UserLocale(*pc.environment).language(), language);
  }
  ASSERT_TRUE(pc_->Change([&](QJsonObject& s) { s["environment"] = QJsonObject{{"LANG", "C"}}; }));
  auto pc = platform::CreatePlatform({"sim", pc_->Path(), nullptr});
  EXPECT_EQ(UserLocale(*pc.environment), QLocale::system());
}

TEST_F(RelTest, ARowAnotherCopyInsertsRightAfterOursIsNeverTakenForOurs) {
  // The other copy's insert lands between ours and the reading of our id.
  ASSERT_TRUE(
      Execute("create trigger other_copy after insert on systemlog when new.pcname <> 'OUTRO' "
              "begin insert into systemlog(pcname) values('OUTRO'); end"));
  auto run = MakeRun();
  run.rel->inicializar();
  run.rel->SetStatus("3");
  run.rel->SetRel("nossa");

  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("id"), run.rel->SystemId());
  EXPECT_EQ(rows[0].at("pcname"), "PC-LOJA");
  EXPECT_EQ(rows[0].at("idsystemstatus"), "3");
  EXPECT_TRUE(rows[0].at("useractions").endsWith("  -  nossa\r\n"));
  EXPECT_EQ(rows[1].at("pcname"), "OUTRO");
  EXPECT_TRUE(rows[1].at("idsystemstatus").isEmpty()) << "the other copy's row is untouched";
  EXPECT_TRUE(rows[1].at("useractions").isEmpty());
}

TEST_F(RelTest, AFailedInsertNeverRewritesAnEarlierRunsRowAndIsTriedAgain) {
  auto earlier = MakeRun();
  earlier.rel->inicializar();
  earlier.rel->SetStatus("6");
  const auto before = Rows();

  ASSERT_TRUE(Execute(
      "create trigger refuse before insert on systemlog begin select raise(abort, 'cheio'); end"));
  auto run = MakeRun();
  run.rel->inicializar();
  EXPECT_TRUE(run.rel->SystemId().isEmpty());
  run.rel->SetStatus("2");
  run.rel->SetRel("sem linha");
  EXPECT_EQ(Rows(), before) << "the earlier run's row must stay as it was";

  ASSERT_TRUE(Execute("drop trigger refuse"));
  run.rel->SetStatus("3");
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], before[0]);
  EXPECT_EQ(rows[1].at("id"), run.rel->SystemId());
  EXPECT_EQ(rows[1].at("idsystemstatus"), "3");
  EXPECT_EQ(rows[1].at("macadress"), "00:1A:2B:3C:4D:5E")
      << "a late insert writes the start columns";
  EXPECT_TRUE(rows[1].at("useractions").endsWith("  -  sem linha\r\n")) << "no report is lost";
}

TEST_F(RelTest, ReportsWithoutALogDatabaseDoNotCrash) {
  auto run = MakeRun();
  run.rel->inicializar();
  ASSERT_TRUE(QFile::remove(Dir() + QString::fromLatin1(Tdm::kLogFile)));
  dm_.adoLogConn.Close();
  run.rel->SetStatus("2");
  run.rel->SetRel("x");
  run.rel->EnviaSystemLog();
  EXPECT_EQ(run.rel->logs().status, "2");
}

}  // namespace
