#include "catalogue/Selection.h"

#include "app/FileUtils.h"
#include "catalogue/DataModule.h"

namespace catalogue {

namespace {

QString FileNameOf(const QString& url) {
  return QString::fromStdString(app::ExtractFileNameFromURL(url.toStdString()));
}

QString Text(const TADOQuery& devices, const char* column) {
  return devices.FieldValue(QString::fromLatin1(column)).toString();
}

}  // namespace

QString CachedPicture(const QString& imgDir, const QString& urlPicture) {
  return imgDir + FileNameOf(urlPicture);
}

QString IsoPlace(const QString& isoDir, const QString& urlFirmware) {
  const QString name = FileNameOf(urlFirmware);
  QString place = isoDir + name;
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0)
    place.remove(name.mid(dot));
  return place;
}

std::optional<QString> ChipsetName(qint64 chipsetId) {
  switch (chipsetId) {
    case 1:
      return QStringLiteral("spreadtrum");
    case 2:
    case 6:
      return QStringLiteral("mtk");
    case 3:
      return QStringLiteral("Rockchip");
    case 4:
      return QStringLiteral("Tvs");
    case 7:
      return QStringLiteral("Notebook");
    default:
      return std::nullopt;
  }
}

ChosenDevice ReadChosenDevice(const TADOQuery& devices, const QString& imgDir,
                              const QString& isoDir) {
  const qint64 chipset = devices.FieldValue(QStringLiteral("chipsetId")).toLongLong();
  const QString id = QString::number(devices.FieldValue(QStringLiteral("id")).toLongLong());
  ChosenDevice d;
  d.ItemModelo = Text(devices, "description");
  d.ItemCodigo = Text(devices, "deviceSku");
  d.ItemnomeImg = CachedPicture(imgDir, Text(devices, "url_picture"));
  d.ItemIsoLink = Text(devices, "url_firmware");
  d.ItemBurnMode = static_cast<int>(chipset);
  d.ItemChipset = ChipsetName(chipset);
  d.ItemProductType =
      QString::number(devices.FieldValue(QStringLiteral("systemType")).toLongLong());
  d.ItemMd5 = Text(devices, "md5");
  d.ItemProductId = id;
  d.ItemIsoPlace = IsoPlace(isoDir, d.ItemIsoLink);
  d.itemId = id;
  return d;
}

bool LocateModelCode(TADOQuery& radical, TADOQuery& devices, const QString& text) {
  if (text.size() <= 3)
    return false;
  const QString id = IdFromRadical(radical, text);
  if (id.isEmpty())
    return false;
  return devices.Locate(QStringLiteral("id"), id);
}

TvCodeLookup LocateTvCode(TADOQuery& devices, const QString& text) {
  if (text.size() <= 3)
    return TvCodeLookup::Ignored;
  return devices.Locate(QStringLiteral("devicesku"), text) ? TvCodeLookup::Found
                                                           : TvCodeLookup::NotFound;
}

}  // namespace catalogue
