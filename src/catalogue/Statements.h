#pragma once

#include <QString>

// The statement texts the program issues against its two databases, built as
// the system builds them: every value goes through QuotedStr, row keys after
// "where id=" are bare decimal numbers.

// The one quoting rule for SQL values: every single quote doubled, the whole
// value wrapped in single quotes. Numbers are quoted too; the database
// converts the text.
QString QuotedStr(const QString& value);

namespace sql {

// Design-time texts of the queries.
inline constexpr const char* kSystemLog = "select * from systemlog";
inline constexpr const char* kDevices = "Select * from Devices order by description";
inline constexpr const char* kRadical = "select * from devicesRadical";

inline constexpr const char* kDeleteDevicesAbove999 = "delete from devices where id>999";
inline constexpr const char* kDeleteMasterModelAbove999 = "delete from mastermodel where id>999";
inline constexpr const char* kSelectMaxSystemLogId = "Select Max(id) as id from systemlog";

// The selection of a device kind (0 phones, 1 tablets, 2 TVs, 3 notebooks);
// empty for any other value.
QString SelectKind(int systemType);

QString SelectDownloadAux(qint64 deviceId);

QString InsertMasterModel(const QString& id, const QString& mastermodel, const QString& radical);

struct DeviceValues {
  QString id, masterModelId, description, url_firmware, deviceSku, url_picture, chipsetId,
      systemType, tv_desc_menu, tv_desc_forcada, tminpendrive, md5;
};
QString InsertDevice(const DeviceValues& v);

// The columns a new log row is born with.
struct SystemLogInsert {
  QString macadress, pcname, windowsuser, externalipv4, operationsystem, cpu, memory_capacity,
      memory_free, disk_capacity, disk_free, city, state, systemversion, protocol;
};
QString InsertSystemLog(const SystemLogInsert& v);

// The columns every report rewrites.
struct SystemLogUpdate {
  QString protocol, productid, chipset, idlastuserinteraction, idsystemstatus, systemtotaltime,
      downloadsize, useractions, firmwaredownloadtime, cd_nome, cd_cpf, cd_telefone, cd_email,
      productname;
};
QString UpdateSystemLog(const SystemLogUpdate& v, const QString& id);

QString SelectSystemLogNotSent();
QString MarkSystemLogSent(const QString& id);

}  // namespace sql
