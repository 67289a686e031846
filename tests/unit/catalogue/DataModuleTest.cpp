// The data module on the demo catalogue: kinds, model codes, further files
// and files that cannot be opened.
#include "catalogue/DataModule.h"

#include <QFile>

#include "DemoDatabases.h"
#include "catalogue/Statements.h"

namespace {

using DataModuleTest = DemoDatabases;

TEST_F(DataModuleTest, KindSelectionsHideMasterModel999OnlyFromPhonesAndTablets) {
  const struct {
    int kind;
    QList<qint64> ids;  // in description order
  } cases[] = {
      {0, {101, 102}},            // 110 is a phone of master model 999
      {1, {104, 103, 158, 105}},  // 111 is a tablet of master model 999
      {2, {112, 106}},            // 112 (master model 999) is listed
      {3, {113, 107}},            // 113 (master model 999) is listed
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(dm_.SelectKind(c.kind)) << dm_.devices.LastError().toStdString();
    EXPECT_EQ(Ids(dm_.devices), c.ids) << "kind " << c.kind;
  }
}

TEST_F(DataModuleTest, UnknownKindLeavesTheSelectionAsItWas) {
  ASSERT_TRUE(dm_.SelectKind(2));
  for (int kind : {-1, 4}) {
    EXPECT_FALSE(dm_.SelectKind(kind));
    EXPECT_EQ(dm_.devices.SQL(), sql::SelectKind(2));
    EXPECT_TRUE(dm_.devices.Active());
  }
}

TEST_F(DataModuleTest, RequeryRereadsTheSameKind) {
  ASSERT_TRUE(dm_.SelectKind(2));
  sql::DeviceValues tv;
  tv.id = tv.masterModelId = QStringLiteral("1001");
  tv.description = QStringLiteral("Smart TV Solvanta 43' 4K");
  tv.chipsetId = QStringLiteral("4");
  tv.systemType = QStringLiteral("2");
  ASSERT_TRUE(dm_.Command(sql::InsertDevice(tv)));
  ASSERT_TRUE(dm_.devices.Locate(QStringLiteral("id"), 106));

  ASSERT_TRUE(dm_.devices.Requery());
  EXPECT_EQ(Ids(dm_.devices), (QList<qint64>{112, 106, 1001}));
  EXPECT_EQ(dm_.devices.SQL(), sql::SelectKind(2));
}

TEST_F(DataModuleTest, DemoCatalogueHoldsEveryFamily) {
  QList<qint64> families;
  for (const QStringList& row :
       Rows(dm_.adoConnBase, QStringLiteral("select distinct chipsetId from devices order by 1"))) {
    families << row[0].toLongLong();
  }
  EXPECT_EQ(families, (QList<qint64>{1, 3, 4, 5, 6, 7, 40}));
}

TEST_F(DataModuleTest, FurtherFilesOfADeviceComeInOrderAndOnlyForIt) {
  ASSERT_TRUE(dm_.OpenDownloadAux(105));
  QStringList urls;
  for (dm_.downloadaux.First(); !dm_.downloadaux.Eof(); dm_.downloadaux.Next()) {
    EXPECT_EQ(dm_.downloadauxdeviceId.AsInteger(), 105);
    urls << dm_.downloadauxurl_firmware.AsString() + QLatin1Char(' ') +
                dm_.downloadauxmd5.AsString();
  }
  EXPECT_EQ(urls,
            (QStringList{QStringLiteral("http://servidor/solvanta/firmwares/t8_mt8321_userdata.zip "
                                        "b5c6d7e8f90a1b2c3d4e5f60718293a4"),
                         QStringLiteral("http://servidor/solvanta/firmwares/t8_mt8321_system.zip "
                                        "c6d7e8f90a1b2c3d4e5f60718293a4b5")}));
  ASSERT_TRUE(dm_.OpenDownloadAux(101));
  EXPECT_TRUE(dm_.downloadaux.IsEmpty());
}

TEST_F(DataModuleTest, ModelCodeIsLookedUpByItsLastFiveCharacters) {
  const struct {
    QString typed;
    QString id;
  } cases[] = {
      {QStringLiteral("SN2023X9FLP20"), QStringLiteral("101")},  // a whole serial number
      {QStringLiteral("T7KID"), QStringLiteral("158")},          // hidden from the list
      {QStringLiteral("T7KD"), QStringLiteral("158")},           // 4 characters: whole
      {QStringLiteral("XT7KD"), QString()},                      // 5 characters: not "T7KD"
      {QStringLiteral("ZZZZZ"), QString()},
      {QString(), QString()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IdFromRadical(dm_.radical, c.typed), c.id) << c.typed.toStdString();
  }
}

TEST_F(DataModuleTest, FailedModelCodeLeavesTheCurrentRow) {
  ASSERT_EQ(IdFromRadical(dm_.radical, QStringLiteral("T8MTK")), QStringLiteral("105"));
  ASSERT_EQ(IdFromRadical(dm_.radical, QStringLiteral("ZZZZZ")), QString());
  EXPECT_EQ(dm_.radicalIddevice.AsInteger(), 105);
}

TEST_F(DataModuleTest, LocateFindsTextsExactlyAndLeavesTheRowWhenNothingMatches) {
  ASSERT_TRUE(dm_.SelectKind(2));
  ASSERT_TRUE(dm_.devices.Locate(QStringLiteral("devicesku"), QStringLiteral("32HD7")));
  EXPECT_EQ(dm_.devicesdescription.AsString(), QStringLiteral("Smart TV Solvanta 32' HD"));
  EXPECT_FALSE(dm_.devices.Locate(QStringLiteral("devicesku"), QStringLiteral("32HD")));
  EXPECT_FALSE(dm_.devices.Locate(QStringLiteral("id"), QStringLiteral("abc")));
  EXPECT_EQ(dm_.devicesid.AsInteger(), 106);
}

class UnopenableDatabaseTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    ASSERT_TRUE(catalogue::WriteDemoDatabases(Dir(), QStringLiteral("http://servidor")));
  }
  QString Dir() const { return folder_.path() + QLatin1Char('/'); }
  QTemporaryDir folder_;
};

TEST_F(UnopenableDatabaseTest, FailureNamesTheFileAndLeavesEveryOperationHarmless) {
  const struct {
    const char* file;
    bool garbage;  // replaced by bytes that are no database, else removed
    const char* message;
  } cases[] = {
      {Tdm::kCatalogueFile, false, "O arquivo de dados \"%1\" não foi encontrado."},
      {Tdm::kLogFile, false, "O arquivo de dados \"%1\" não foi encontrado."},
      {Tdm::kCatalogueFile, true, "Não foi possível abrir o arquivo de dados \"%1\"."},
      {Tdm::kLogFile, true, "Não foi possível abrir o arquivo de dados \"%1\"."},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(catalogue::WriteDemoDatabases(Dir(), QStringLiteral("http://servidor")));
    const QString file = Dir() + QString::fromLatin1(c.file);
    QFile::remove(file);
    if (c.garbage) {
      QFile out(file);
      ASSERT_TRUE(out.open(QIODevice::WriteOnly));
      out.write(QByteArray(4096, 'x'));
    }
    Tdm dm;
    EXPECT_FALSE(dm.OpenDatabases(Dir()));
    EXPECT_TRUE(dm.OpenFailure().startsWith(QString::fromUtf8(c.message).arg(file)))
        << dm.OpenFailure().toStdString();
    EXPECT_EQ(QFile::exists(file), c.garbage) << "the program never creates the file";
    EXPECT_FALSE(dm.adoConnBase.Connected());
    EXPECT_FALSE(dm.adoLogConn.Connected());
    EXPECT_FALSE(dm.Command(QString::fromLatin1(sql::kDeleteDevicesAbove999)));
    EXPECT_FALSE(dm.SelectKind(0));
    EXPECT_FALSE(dm.systemlog.Open());
    EXPECT_EQ(IdFromRadical(dm.radical, QStringLiteral("FLP20")), QString());
    EXPECT_TRUE(dm.devicesid.IsNull());
    QFile::remove(file);
  }
}

}  // namespace
