#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "app/WMI.h"
#include "catalogue/DataModule.h"
#include "catalogue/DatabaseFiles.h"
#include "platform/Platform.h"
#include "platform/sim/SimulatedPc.h"
#include "report/Ptr.h"
#include "report/Rel.h"
#include "service/Idmserver.h"

// A log database laid down empty in a fresh folder, a data module on it, the
// simulated PC's WMI and a fixed clock; logs made on them.
class LogFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    const auto written = catalogue::WriteDemoDatabases(Dir(), QStringLiteral("http://servidor"));
    ASSERT_TRUE(written) << written.error().toStdString();
    ASSERT_TRUE(dm_.OpenDatabases(Dir())) << dm_.OpenFailure().toStdString();
    pc_ = std::make_unique<platform::SimulatedPc>((folder_.path() + "/pc.json").toStdString());
    SetWmi("Win32_OperatingSystem",
           {QJsonObject{{"CSName", "PC-LOJA"}, {"RegisteredUser", "Maria"}}});
    SetWmi("Win32_NetworkAdapterConfiguration",
           {QJsonObject{{"MACAddress", "00:00:00:00:00:0A"}, {"IPEnabled", false}},
            QJsonObject{{"MACAddress", "00:1A:2B:3C:4D:5E"}, {"IPEnabled", true}},
            QJsonObject{{"MACAddress", "00:1A:2B:3C:4D:5F"}, {"IPEnabled", true}}});
    wmi_ = std::make_unique<TWMI>(platform::CreatePlatform({"sim", pc_->Path(), nullptr}).wmi);
    facts_.ExecVersion = "2.4.0.17";
    facts_.OSInfo = "Microsoft Windows 10 Pro - 64 bits";
    facts_.InfoIp = "177.10.20.30";
    facts_.InfoCidade = "São Paulo";
    facts_.InfoEstado = "SP";
    facts_.systemTotalTimeUp = "0";
    facts_.SystemFirmwareDownloadTime = "0";
  }

  QString Dir() const { return folder_.path() + QLatin1Char('/'); }

  void SetWmi(const char* cls, const QJsonArray& rows) {
    ASSERT_TRUE(pc_->Change([&](QJsonObject& s) {
      QJsonObject wmi = s[QStringLiteral("wmi")].toObject();
      wmi[QString::fromLatin1(cls)] = rows;
      s[QStringLiteral("wmi")] = wmi;
    }));
  }

  // A log on `dm` (the fixture's data module by default) and its own
  // protocol keeper, reading the fixture's facts, clock and server.
  struct Run {
    std::unique_ptr<TPtr> ptr;
    std::unique_ptr<TRel> rel;
  };
  Run MakeRun(Tdm* dm = nullptr) {
    Run run;
    run.ptr = std::make_unique<TPtr>([this] { return now_; },
                                     [this](const QString& text) { label_ = text; });
    TPtr* ptr = run.ptr.get();
    run.rel = std::make_unique<TRel>(
        TRelLinks{dm ? dm : &dm_, [ptr] { return ptr; }, [this] { return service_.get(); },
                  [this] { return wmi_.get(); }, [this] { return facts_; }, [this] { return now_; },
                  locale_});
    return run;
  }

  // Every row of `sql` read on a connection of its own, columns by name.
  std::vector<std::map<QString, QString>> Rows(
      const QString& sql = QStringLiteral("select * from systemlog order by id")) {
    TADOConnection connection(QStringLiteral("check"));
    connection.FileName = Dir() + QString::fromLatin1(Tdm::kLogFile);
    EXPECT_TRUE(connection.Open()) << connection.LastError().toStdString();
    TADOQuery query(connection, sql);
    EXPECT_TRUE(query.Open()) << query.LastError().toStdString();
    std::vector<std::map<QString, QString>> rows;
    for (query.First(); !query.Eof(); query.Next()) {
      std::map<QString, QString> row;
      for (const QString& column : query.FieldNames()) {
        row[column] = query.FieldValue(column).toString();
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  bool Execute(const QString& sql) {
    TADOConnection connection(QStringLiteral("side"));
    connection.FileName = Dir() + QString::fromLatin1(Tdm::kLogFile);
    TADOQuery query(connection, sql);
    const bool ran = connection.Open() && query.ExecSQL();
    EXPECT_TRUE(ran) << query.LastError().toStdString();
    return ran;
  }

  QTemporaryDir folder_;
  Tdm dm_;
  std::unique_ptr<platform::SimulatedPc> pc_;
  std::unique_ptr<TWMI> wmi_;
  std::unique_ptr<service::Idmserver> service_;
  TRelFacts facts_;
  QDateTime now_{QDate(2023, 2, 10), QTime(14, 35, 7, 123)};
  QLocale locale_{QLocale::Portuguese, QLocale::Brazil};
  std::optional<QString> label_;
};
