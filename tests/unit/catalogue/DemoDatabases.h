#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "catalogue/DataModule.h"
#include "catalogue/DatabaseFiles.h"

// Both database files laid down from data/ in a fresh folder, and a data
// module opened on them.
class DemoDatabases : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    const auto written = catalogue::WriteDemoDatabases(Dir(), QStringLiteral("http://servidor"));
    ASSERT_TRUE(written) << written.error().toStdString();
    ASSERT_TRUE(dm_.OpenDatabases(Dir())) << dm_.OpenFailure().toStdString();
  }

  QString Dir() const { return folder_.path() + QLatin1Char('/'); }

  // The rows of `sql` on `connection`, each column as text, in column order.
  static std::vector<QStringList> Rows(TADOConnection& connection, const QString& sql) {
    TADOQuery query(connection, sql);
    EXPECT_TRUE(query.Open()) << query.LastError().toStdString() << "\n" << sql.toStdString();
    std::vector<QStringList> rows;
    for (query.First(); !query.Eof(); query.Next()) {
      QStringList row;
      for (const QString& column : query.FieldNames())
        row << query.FieldValue(column).toString();
      rows.push_back(row);
    }
    return rows;
  }

  static QList<qint64> Ids(TADOQuery& query) {
    QList<qint64> ids;
    for (query.First(); !query.Eof(); query.Next()) {
      ids << query.FieldValue(QStringLiteral("id")).toLongLong();
    }
    return ids;
  }

  QTemporaryDir folder_;
  Tdm dm_;
};
