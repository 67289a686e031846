// The statement texts of the two databases, run on real SQLite files.
#include "catalogue/Statements.h"

#include "DemoDatabases.h"
#include "catalogue/DatabaseFiles.h"

namespace {

TEST(QuotedStrTest, DoublesEveryQuoteAndWrapsTheValue) {
  const struct {
    QString value;
    QString quoted;
  } cases[] = {
      {QStringLiteral("abc"), QStringLiteral("'abc'")},
      {QString(), QStringLiteral("''")},
      {QStringLiteral("'"), QStringLiteral("''''")},
      {QStringLiteral("TV 50'' 4K"), QStringLiteral("'TV 50'''' 4K'")},
      {QStringLiteral("1001"), QStringLiteral("'1001'")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(QuotedStr(c.value), c.quoted) << c.value.toStdString();
}

TEST(SplitSqlScriptTest, SemicolonsInsideQuotesAndCommentsDoNotEndAStatement) {
  const QStringList statements =
      catalogue::SplitSqlScript(QStringLiteral("insert into t values ('a;b', 'it''s; here');\n"
                                               "-- a note; with a semicolon\n"
                                               "select \"x;y\" from t;;\n  \n"));
  ASSERT_EQ(statements.size(), 2) << statements.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(statements[0], QStringLiteral("insert into t values ('a;b', 'it''s; here')"));
  EXPECT_EQ(statements[1], QStringLiteral("select \"x;y\" from t"));
}

class StatementsTest : public DemoDatabases {
 protected:
  // A value in every column that would end its literal early without the
  // doubling rule, different per column so a swapped column shows.
  static QString Awkward(const QString& column) {
    return QStringLiteral("O'Brien d'") + column + QStringLiteral("'); delete from devices; --");
  }
};

TEST_F(StatementsTest, EveryStatementOfTheSystemRunsAsWritten) {
  sql::DeviceValues device{QStringLiteral("1001"),    QStringLiteral("1001"),
                           QStringLiteral("TV 1001"), QStringLiteral("http://s/f.zip"),
                           QStringLiteral("SKU1"),    QStringLiteral("http://s/p.jpg"),
                           QStringLiteral("4"),       QStringLiteral("2"),
                           QStringLiteral("menu"),    QStringLiteral("forçada"),
                           QStringLiteral("8"),       QStringLiteral("abc")};
  const struct {
    QString sql;
    bool log;
    bool rows;
  } cases[] = {
      {sql::SelectKind(0), false, true},
      {sql::SelectKind(1), false, true},
      {sql::SelectKind(2), false, true},
      {sql::SelectKind(3), false, true},
      {QString::fromLatin1(sql::kDevices), false, true},
      {QString::fromLatin1(sql::kRadical), false, true},
      {sql::SelectDownloadAux(105), false, true},
      {QString::fromLatin1(sql::kDeleteDevicesAbove999), false, false},
      {QString::fromLatin1(sql::kDeleteMasterModelAbove999), false, false},
      {sql::InsertMasterModel(QStringLiteral("1001"), QStringLiteral("TV"), QStringLiteral("R1")),
       false, false},
      {sql::InsertDevice(device), false, false},
      {QString::fromLatin1(sql::kSystemLog), true, true},
      {sql::InsertSystemLog({}), true, false},
      {QString::fromLatin1(sql::kSelectMaxSystemLogId), true, true},
      {sql::UpdateSystemLog({}, QStringLiteral("1")), true, false},
      {sql::SelectSystemLogNotSent(), true, true},
      {sql::MarkSystemLogSent(QStringLiteral("1")), true, false},
  };
  for (const auto& c : cases) {
    TADOQuery query(c.log ? dm_.adoLogConn : dm_.adoConnBase, c.sql);
    EXPECT_TRUE(c.rows ? query.Open() : query.ExecSQL()) << c.sql.toStdString() << "\n"
                                                         << query.LastError().toStdString();
  }
}

TEST_F(StatementsTest, CatalogueInsertsStoreApostrophesIntact) {
  ASSERT_TRUE(dm_.Command(sql::InsertMasterModel(QStringLiteral("1001"),
                                                 Awkward(QStringLiteral("mastermodel")),
                                                 Awkward(QStringLiteral("radical")))));
  const sql::DeviceValues device{
      QStringLiteral("1001"),     QStringLiteral("1001"), Awkward("description"),
      Awkward("url_firmware"),    Awkward("deviceSku"),   Awkward("url_picture"),
      QStringLiteral("4"),        QStringLiteral("2"),    Awkward("tv_desc_menu"),
      Awkward("tv_desc_forcada"), QStringLiteral("8'"),   Awkward("md5")};
  ASSERT_TRUE(dm_.Command(sql::InsertDevice(device)));

  EXPECT_EQ(Rows(dm_.adoConnBase,
                 QStringLiteral("select mastermodel, radical from mastermodel where id=1001")),
            (std::vector<QStringList>{{Awkward("mastermodel"), Awkward("radical")}}));
  ASSERT_TRUE(dm_.SelectKind(2));
  ASSERT_TRUE(dm_.devices.Locate(QStringLiteral("id"), 1001));
  EXPECT_EQ(dm_.devicesmasterModelId.AsInteger(), 1001);
  EXPECT_EQ(dm_.devicesdescription.AsString(), device.description);
  EXPECT_EQ(dm_.devicesurl_firmware.AsString(), device.url_firmware);
  EXPECT_EQ(dm_.devicesdeviceSku.AsString(), device.deviceSku);
  EXPECT_EQ(dm_.devicesurl_picture.AsString(), device.url_picture);
  EXPECT_EQ(dm_.deviceschipsetId.AsInteger(), 4);
  EXPECT_EQ(dm_.devicessystemType.AsInteger(), 2);
  EXPECT_EQ(dm_.devicestv_desc_menu.AsString(), device.tv_desc_menu);
  EXPECT_EQ(dm_.devicestv_desc_forcada.AsString(), device.tv_desc_forcada);
  EXPECT_EQ(dm_.devicesTminpendrive.AsString(), device.tminpendrive);
  EXPECT_EQ(dm_.devicesmd5.AsString(), device.md5);
  // The delivered rows survived the text that tried to delete them.
  EXPECT_EQ(Rows(dm_.adoConnBase, QStringLiteral("select id from devices where id<=999")).size(),
            12u);
}

TEST_F(StatementsTest, LogInsertAndUpdateStoreApostrophesIntact) {
  sql::SystemLogInsert born{Awkward("macadress"),
                            Awkward("pcname"),
                            Awkward("windowsuser"),
                            Awkward("externalipv4"),
                            Awkward("operationsystem"),
                            Awkward("cpu"),
                            Awkward("memory_capacity"),
                            Awkward("memory_free"),
                            Awkward("disk_capacity"),
                            Awkward("disk_free"),
                            Awkward("city"),
                            Awkward("state"),
                            Awkward("systemversion"),
                            Awkward("protocol")};
  ASSERT_TRUE(TADOQuery(dm_.adoLogConn, sql::InsertSystemLog(born)).ExecSQL());
  const QString bornColumns = QStringLiteral(
      "macadress,pcname,windowsuser,externalipv4,operationsystem,cpu,memory_capacity,"
      "memory_free,disk_capacity,disk_free,city,state,systemversion,protocol");
  QStringList expected;
  for (const QString& column : bornColumns.split(QLatin1Char(',')))
    expected << Awkward(column);
  EXPECT_EQ(Rows(dm_.adoLogConn, QStringLiteral("select ") + bornColumns +
                                     QStringLiteral(" from systemlog where id=1")),
            (std::vector<QStringList>{expected}));

  const sql::SystemLogUpdate report{Awkward("protocol"),
                                    Awkward("productid"),
                                    Awkward("chipset"),
                                    Awkward("idlastuserinteraction"),
                                    Awkward("idsystemstatus"),
                                    Awkward("systemtotaltime"),
                                    Awkward("downloadsize"),
                                    Awkward("useractions"),
                                    Awkward("firmwaredownloadtime"),
                                    Awkward("cd_nome"),
                                    Awkward("cd_cpf"),
                                    Awkward("cd_telefone"),
                                    Awkward("cd_email"),
                                    Awkward("productname")};
  ASSERT_TRUE(
      TADOQuery(dm_.adoLogConn, sql::UpdateSystemLog(report, QStringLiteral("1"))).ExecSQL());
  const QString reportColumns = QStringLiteral(
      "protocol,productid,chipset,idlastuserinteraction,idsystemstatus,systemtotaltime,"
      "downloadsize,useractions,firmwaredownloadtime,cd_nome,cd_cpf,cd_telefone,cd_email,"
      "productname");
  expected.clear();
  for (const QString& column : reportColumns.split(QLatin1Char(',')))
    expected << Awkward(column);
  EXPECT_EQ(Rows(dm_.adoLogConn, QStringLiteral("select ") + reportColumns +
                                     QStringLiteral(" from systemlog where id=1")),
            (std::vector<QStringList>{expected}));
}

TEST_F(StatementsTest, NewLogRowsAreNumberedAndWaitForDeliveryUntilMarkedSent) {
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(TADOQuery(dm_.adoLogConn, sql::InsertSystemLog({})).ExecSQL());
  }
  EXPECT_EQ(Rows(dm_.adoLogConn, QString::fromLatin1(sql::kSelectMaxSystemLogId)),
            (std::vector<QStringList>{{QStringLiteral("2")}}));

  dm_.systemlog.SetSQL(sql::SelectSystemLogNotSent());
  ASSERT_TRUE(dm_.systemlog.Open());
  EXPECT_EQ(Ids(dm_.systemlog), (QList<qint64>{1, 2}));
  dm_.systemlog.First();
  EXPECT_EQ(dm_.systemlogLogEnviadoServer.AsString(), QStringLiteral("N"));

  ASSERT_TRUE(TADOQuery(dm_.adoLogConn, sql::MarkSystemLogSent(QStringLiteral("1"))).ExecSQL());
  ASSERT_TRUE(dm_.systemlog.Requery());
  EXPECT_EQ(Ids(dm_.systemlog), (QList<qint64>{2}));
}

TEST_F(StatementsTest, CatalogueUpdateReplacesOnlyRowsAbove999) {
  ASSERT_TRUE(dm_.Command(
      sql::InsertMasterModel(QStringLiteral("1001"), QStringLiteral("TV"), QStringLiteral("R1"))));
  sql::DeviceValues device;
  device.id = device.masterModelId = QStringLiteral("1001");
  device.chipsetId = QStringLiteral("4");
  device.systemType = QStringLiteral("2");
  ASSERT_TRUE(dm_.Command(sql::InsertDevice(device)));
  // A repeated key is refused and reported, never thrown.
  EXPECT_FALSE(dm_.Command(sql::InsertDevice(device)));

  ASSERT_TRUE(dm_.Command(QString::fromLatin1(sql::kDeleteDevicesAbove999)));
  ASSERT_TRUE(dm_.Command(QString::fromLatin1(sql::kDeleteMasterModelAbove999)));
  EXPECT_EQ(Rows(dm_.adoConnBase, QStringLiteral("select id from devices")).size(), 12u);
  EXPECT_EQ(Rows(dm_.adoConnBase, QStringLiteral("select id from mastermodel")).size(), 7u);
  EXPECT_TRUE(Rows(dm_.adoConnBase, QStringLiteral("select id from devices where id>999")).empty());
}

TEST_F(StatementsTest, TextThatIsNoNumberIsRefusedByAWholeNumberColumn) {
  // A short record of the catalogue update would put text where a key goes.
  sql::DeviceValues device;
  device.chipsetId = QStringLiteral("4");
  device.systemType = QStringLiteral("2");
  for (const QString& id : {QStringLiteral("abc"), QString()}) {
    device.id = device.masterModelId = id;
    EXPECT_FALSE(dm_.Command(sql::InsertDevice(device))) << id.toStdString();
    EXPECT_FALSE(dm_.Command(sql::InsertMasterModel(id, QStringLiteral("TV"), QString())));
  }
  EXPECT_EQ(Rows(dm_.adoConnBase, QStringLiteral("select id from devices")).size(), 12u);
}

}  // namespace
