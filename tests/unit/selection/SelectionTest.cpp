#include <gtest/gtest.h>

#include "catalogue/Selection.h"
#include "unit/catalogue/DemoDatabases.h"

namespace {

class SelectionTest : public DemoDatabases {
 protected:
  void SelectKind(int kind) { ASSERT_TRUE(dm_.SelectKind(kind)); }
  qint64 CurrentId() const { return dm_.devicesid.AsInteger(); }
};

TEST_F(SelectionTest, ConfirmationCopiesTheChosenRowWithFoldersBuiltFromItsUrls) {
  ASSERT_TRUE(dm_.devices.Open());
  ASSERT_TRUE(dm_.devices.Locate(QStringLiteral("id"), 104));
  const auto d = catalogue::ReadChosenDevice(dm_.devices, QStringLiteral("/tmp/img/"),
                                             QStringLiteral("/data/Firmwares/"));
  EXPECT_EQ(d.ItemModelo, QStringLiteral("Tablet Solvanta T10 Pro"));
  EXPECT_EQ(d.ItemCodigo, QStringLiteral("SLV-T10P"));
  EXPECT_EQ(d.ItemnomeImg, QStringLiteral("/tmp/img/t10pro.jpg"));
  EXPECT_EQ(d.ItemIsoLink, QStringLiteral("http://servidor/solvanta/firmwares/t10pro_rk3326.zip"));
  EXPECT_EQ(d.ItemBurnMode, 3);
  EXPECT_EQ(d.ItemProductType, QStringLiteral("1"));
  EXPECT_EQ(d.ItemMd5, QStringLiteral("2c3d4e5f60718293a4b5c6d7e8f90a1b"));
  EXPECT_EQ(d.ItemProductId, QStringLiteral("104"));
  EXPECT_EQ(d.itemId, QStringLiteral("104"));
  EXPECT_EQ(d.ItemIsoPlace, QStringLiteral("/data/Firmwares/t10pro_rk3326"));
}

TEST_F(SelectionTest, IsoPlaceRemovesEveryOccurrenceOfTheExtension) {
  // The rule removes the extension wherever it stands in the whole text.
  EXPECT_EQ(
      catalogue::IsoPlace(QStringLiteral("/d/Firm/"), QStringLiteral("http://s/a/fw.pac.pac")),
      QStringLiteral("/d/Firm/fw"));
  EXPECT_EQ(catalogue::IsoPlace(QStringLiteral("/d/"), QStringLiteral("http://s/a/semextensao")),
            QStringLiteral("/d/semextensao"));
}

TEST_F(SelectionTest, ChipsetNameOfEachFamilyAndNoneForTheFeaturePhone) {
  const std::pair<qint64, std::optional<QString>> table[] = {{1, QStringLiteral("spreadtrum")},
                                                             {2, QStringLiteral("mtk")},
                                                             {3, QStringLiteral("Rockchip")},
                                                             {4, QStringLiteral("Tvs")},
                                                             {5, std::nullopt},
                                                             {6, QStringLiteral("mtk")},
                                                             {7, QStringLiteral("Notebook")},
                                                             {40, std::nullopt}};
  for (const auto& [family, name] : table)
    EXPECT_EQ(catalogue::ChipsetName(family), name) << family;
  // The feature phone of the catalogue reads no name: the copy keeps the old one.
  ASSERT_TRUE(dm_.devices.Open());
  ASSERT_TRUE(dm_.devices.Locate(QStringLiteral("id"), 101));
  EXPECT_FALSE(catalogue::ReadChosenDevice(dm_.devices, {}, {}).ItemChipset.has_value());
}

TEST_F(SelectionTest, ModelCodeIgnoresShortTextsAndFindsASerialByItsLastFive) {
  // Codes of 1 to 3 characters that would otherwise find a device.
  for (const char* code : {"T", "T7", "T7S"}) {
    ASSERT_TRUE(dm_.Command(
        QStringLiteral("insert into devicesRadical (radical, Iddevice) values ('%1', 103)")
            .arg(QString::fromLatin1(code))));
  }
  ASSERT_TRUE(dm_.radical.Requery());
  SelectKind(1);
  dm_.devices.Locate(QStringLiteral("id"), 104);
  for (const char* text : {"T", "T7", "T7S"}) {
    EXPECT_FALSE(catalogue::LocateModelCode(dm_.radical, dm_.devices, QString::fromLatin1(text)));
    EXPECT_EQ(CurrentId(), 104) << text;
  }
  EXPECT_TRUE(
      catalogue::LocateModelCode(dm_.radical, dm_.devices, QStringLiteral("SN1903210047T7SP1")));
  EXPECT_EQ(CurrentId(), 103);
  // The unlisted tablet is reached by its code, of 4 characters looked up whole.
  EXPECT_TRUE(catalogue::LocateModelCode(dm_.radical, dm_.devices, QStringLiteral("T7KD")));
  EXPECT_EQ(CurrentId(), 158);
}

TEST_F(SelectionTest, ModelCodeOfAnotherKindOrAHiddenModelMovesNothing) {
  SelectKind(0);
  dm_.devices.Locate(QStringLiteral("id"), 102);
  // A tablet's code, a phone of master model 999, a code of no device.
  for (const char* text : {"T7SP1", "FLP10", "ZZZZZ"}) {
    EXPECT_FALSE(catalogue::LocateModelCode(dm_.radical, dm_.devices, QString::fromLatin1(text)));
    EXPECT_EQ(CurrentId(), 102) << text;
  }
}

TEST_F(SelectionTest, TvCodeMustEqualTheStoredCodeExactly) {
  ASSERT_TRUE(dm_.Command(QStringLiteral("update devices set deviceSku='32H' where id=112")));
  SelectKind(2);
  EXPECT_EQ(catalogue::LocateTvCode(dm_.devices, QStringLiteral("32H")),
            catalogue::TvCodeLookup::Ignored);
  EXPECT_EQ(catalogue::LocateTvCode(dm_.devices, QStringLiteral("SN0432HD7")),
            catalogue::TvCodeLookup::NotFound);
  EXPECT_EQ(catalogue::LocateTvCode(dm_.devices, QStringLiteral("32hd7")),
            catalogue::TvCodeLookup::NotFound);
  EXPECT_EQ(catalogue::LocateTvCode(dm_.devices, QStringLiteral("32HD7")),
            catalogue::TvCodeLookup::Found);
  EXPECT_EQ(CurrentId(), 106);
}

}  // namespace
