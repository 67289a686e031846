#include <gtest/gtest.h>

#include "service/TvsCatalogue.h"
#include "unit/catalogue/DemoDatabases.h"

namespace {

// One record of the service's answer, fields 0 to 13, ended by "#".
QString Record(const QString& code, const QString& name, const QString& release,
               const QString& id) {
  return code + "$" + name + "$http://s/img/" + code + ".jpg$x$x$8$" + release + "$http://s/fw/" +
         code + ".zip$x$forcada " + code + "$x$menu " + code + "$md5" + code + "$" + id + "#";
}

class TvsCatalogueTest : public DemoDatabases {
 protected:
  // id, description, deviceSku of every TV row above 999, by id.
  std::vector<QStringList> NewTvRows() {
    return Rows(dm_.adoConnBase, QStringLiteral("select id, description, deviceSku from devices "
                                                "where id>999 order by id"));
  }
  std::vector<QStringList> RowsUpTo999() {
    return Rows(dm_.adoConnBase, QStringLiteral("select * from devices where id<=999 order by id"));
  }
};

TEST_F(TvsCatalogueTest, WritesEveryColumnOfAReleasedModelAndKeepsDeliveredRows) {
  const auto delivered = RowsUpTo999();
  const auto result =
      service::ReplaceTvRows(dm_,
                             Record(QStringLiteral("43UH1"), QStringLiteral("TV 43"),
                                    QStringLiteral("P"), QStringLiteral("1001")),
                             false);
  EXPECT_TRUE(result.replaced);
  EXPECT_EQ(result.written, 1);
  const auto rows =
      Rows(dm_.adoConnBase, QStringLiteral("select id, masterModelId, description, url_firmware, "
                                           "deviceSku, url_picture, chipsetId, systemType, "
                                           "tv_desc_menu, tv_desc_forcada, Tminpendrive, md5 from "
                                           "devices where id>999"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (QStringList{"1001", "1001", "TV 43", "http://s/fw/43UH1.zip", "43UH1",
                                  "http://s/img/43UH1.jpg", "4", "2", "menu 43UH1", "forcada 43UH1",
                                  "8", "md543UH1"}));
  EXPECT_EQ(Rows(dm_.adoConnBase,
                 QStringLiteral("select id, mastermodel, radical from mastermodel where id>999")),
            (std::vector<QStringList>{{"1001", "TV 43", "43UH1"}}));
  EXPECT_EQ(RowsUpTo999(), delivered);
}

TEST_F(TvsCatalogueTest, UnreleasedModelsOnlyInHomologationMode) {
  const QString answer = Record(QStringLiteral("43UH1"), QStringLiteral("TV 43"),
                                QStringLiteral("P"), QStringLiteral("1001")) +
                         Record(QStringLiteral("55QL3"), QStringLiteral("TV 55"),
                                QStringLiteral("H"), QStringLiteral("1003"));
  const auto normal = service::ReplaceTvRows(dm_, answer, false);
  EXPECT_EQ(normal.written, 1);
  EXPECT_EQ(normal.skipped, 1);
  EXPECT_EQ(NewTvRows(), (std::vector<QStringList>{{"1001", "TV 43", "43UH1"}}));
  // The second update rewrites the same rows, the unreleased one too.
  EXPECT_TRUE(service::ReplaceTvRows(dm_, answer, true).replaced);
  EXPECT_EQ(NewTvRows(),
            (std::vector<QStringList>{{"1001", "TV 43", "43UH1"}, {"1003", "TV 55", "55QL3"}}));
  // Back in normal mode the unreleased model leaves the catalogue again.
  service::ReplaceTvRows(dm_, answer, false);
  EXPECT_EQ(NewTvRows().size(), 1u);
}

TEST_F(TvsCatalogueTest, TextAfterTheLastHashIsNoRecord) {
  QString answer = Record(QStringLiteral("43UH1"), QStringLiteral("TV 43"), QStringLiteral("P"),
                          QStringLiteral("1001")) +
                   Record(QStringLiteral("50UH2"), QStringLiteral("TV 50"), QStringLiteral("P"),
                          QStringLiteral("1002"));
  answer.chop(1);
  EXPECT_TRUE(service::ReplaceTvRows(dm_, answer, false).replaced);
  EXPECT_EQ(NewTvRows(), (std::vector<QStringList>{{"1001", "TV 43", "43UH1"}}));
}

TEST_F(TvsCatalogueTest, ApostropheInAModelNameIsStoredIntact) {
  service::ReplaceTvRows(dm_,
                         Record(QStringLiteral("43UH1"), QStringLiteral("Smart TV 43'' 4K"),
                                QStringLiteral("P"), QStringLiteral("1001")),
                         false);
  EXPECT_EQ(NewTvRows(), (std::vector<QStringList>{{"1001", "Smart TV 43'' 4K", "43UH1"}}));
}

TEST_F(TvsCatalogueTest, RefusedInsertLeavesTheOtherRecords) {
  // A repeated key and a key that is no number are refused by the catalogue.
  const QString answer = Record(QStringLiteral("43UH1"), QStringLiteral("TV 43"),
                                QStringLiteral("P"), QStringLiteral("1001")) +
                         Record(QStringLiteral("43DUP"), QStringLiteral("TV 43 repetida"),
                                QStringLiteral("P"), QStringLiteral("1001")) +
                         Record(QStringLiteral("XXXXX"), QStringLiteral("TV sem chave"),
                                QStringLiteral("P"), QStringLiteral("abc")) +
                         Record(QStringLiteral("50UH2"), QStringLiteral("TV 50"),
                                QStringLiteral("P"), QStringLiteral("1002"));
  EXPECT_TRUE(service::ReplaceTvRows(dm_, answer, false).replaced);
  EXPECT_EQ(NewTvRows(),
            (std::vector<QStringList>{{"1001", "TV 43", "43UH1"}, {"1002", "TV 50", "50UH2"}}));
}

TEST_F(TvsCatalogueTest, RecordWithFewerThan14FieldsIsSkippedNotShifted) {
  const QString shortRecord = QStringLiteral("60XX1$TV 60$http://s/i.jpg$x$x$8$P$http://s/f.zip#");
  const auto result =
      service::ReplaceTvRows(dm_,
                             shortRecord + Record(QStringLiteral("50UH2"), QStringLiteral("TV 50"),
                                                  QStringLiteral("P"), QStringLiteral("1002")),
                             false);
  EXPECT_EQ(result.skipped, 1);
  EXPECT_EQ(NewTvRows(), (std::vector<QStringList>{{"1002", "TV 50", "50UH2"}}));
  EXPECT_TRUE(
      Rows(dm_.adoConnBase, QStringLiteral("select id from mastermodel where radical='60XX1'"))
          .empty());
}

TEST_F(TvsCatalogueTest, FailedOrUnreadableAnswerKeepsTheTvRows) {
  service::ReplaceTvRows(dm_,
                         Record(QStringLiteral("43UH1"), QStringLiteral("TV 43"),
                                QStringLiteral("P"), QStringLiteral("1001")),
                         false);
  const auto before = NewTvRows();
  ASSERT_EQ(before.size(), 1u);
  for (const char* answer : {"0", "", "50UH2$TV 50$sem fim de registro"}) {
    EXPECT_FALSE(service::ReplaceTvRows(dm_, QString::fromLatin1(answer), false).replaced)
        << answer;
    EXPECT_EQ(NewTvRows(), before) << answer;
  }
}

}  // namespace
