#include "service/TvsCatalogue.h"

#include <QSqlDatabase>
#include <QStringList>

#include "catalogue/DataModule.h"
#include "catalogue/Statements.h"

namespace service {

namespace {

constexpr int kFieldCount = 14;

// Writes one record; false when it is skipped.
bool WriteModel(Tdm& dm, const QStringList& f, bool homologacao) {
  if (f.size() < kFieldCount)
    return false;
  if (f[6] != QLatin1String("P") && !homologacao)
    return false;
  dm.Command(sql::InsertMasterModel(f[13], f[1], f[0]));
  sql::DeviceValues v;
  v.id = f[13];
  v.masterModelId = f[13];
  v.description = f[1];
  v.url_firmware = f[7];
  v.deviceSku = f[0];
  v.url_picture = f[2];
  v.chipsetId = QStringLiteral("4");
  v.systemType = QStringLiteral("2");
  v.tv_desc_menu = f[11];
  v.tv_desc_forcada = f[9];
  v.tminpendrive = f[5];
  v.md5 = f[12];
  dm.Command(sql::InsertDevice(v));
  return true;
}

}  // namespace

TvsReplaceResult ReplaceTvRows(Tdm& dm, const QString& answer, bool homologacao) {
  TvsReplaceResult result;
  if (answer == QLatin1String(kTvsUnavailable) || !answer.contains(QLatin1Char('#'))) {
    return result;
  }
  QSqlDatabase db = dm.adoConnBase.Database();
  if (!db.transaction())
    return result;
  if (!dm.Command(QString::fromLatin1(sql::kDeleteDevicesAbove999)) ||
      !dm.Command(QString::fromLatin1(sql::kDeleteMasterModelAbove999))) {
    db.rollback();
    return result;
  }
  QStringList pieces = answer.split(QLatin1Char('#'));
  pieces.removeLast();
  for (const QString& piece : pieces) {
    if (WriteModel(dm, piece.split(QLatin1Char('$')), homologacao)) {
      ++result.written;
    } else {
      ++result.skipped;
    }
  }
  if (!db.commit()) {
    db.rollback();
    return {};
  }
  result.replaced = true;
  return result;
}

}  // namespace service
