#pragma once

#include <QString>
#include <optional>

class TADOQuery;

// The rules of choosing a device: the model-code lookups and the values the
// confirmation copies from the chosen row.
namespace catalogue {

// The id of the device that must never appear in the model list.
inline constexpr qint64 kUnlistedDeviceId = 158;

// The cached picture of a device: `imgDir` + the file name of its picture URL.
QString CachedPicture(const QString& imgDir, const QString& urlPicture);

// The folder the firmware archive is extracted into: `isoDir` + the file name
// of `urlFirmware`, with every occurrence of that name's extension (dot
// included) removed from the whole text.
QString IsoPlace(const QString& isoDir, const QString& urlFirmware);

// The chipset word the log records for a family; none for family 5 and any
// value without one, which leave the recorded word as it was.
std::optional<QString> ChipsetName(qint64 chipsetId);

// The chosen device's values, read from the current row of `devices`.
struct ChosenDevice {
  QString ItemModelo;
  QString ItemCodigo;
  QString ItemnomeImg;
  QString ItemIsoLink;
  int ItemBurnMode = 0;
  std::optional<QString> ItemChipset;
  QString ItemProductType;
  QString ItemMd5;
  QString ItemProductId;
  QString ItemIsoPlace;
  QString itemId;
};
ChosenDevice ReadChosenDevice(const TADOQuery& devices, const QString& imgDir,
                              const QString& isoDir);

// The model screen's lookup of a typed model code (a whole serial number is
// looked up by its last 5 characters): texts of 3 characters or fewer are
// ignored. True when the device was located in `devices`, which it makes
// the current row; a code of no device, or of one outside the selection,
// leaves everything as it was.
bool LocateModelCode(TADOQuery& radical, TADOQuery& devices, const QString& text);

enum class TvCodeLookup { Ignored, Found, NotFound };
// The TV screen's lookup: the whole text located in the `devicesku` column
// of `devices`; texts of 3 characters or fewer are ignored.
TvCodeLookup LocateTvCode(TADOQuery& devices, const QString& text);

}  // namespace catalogue
