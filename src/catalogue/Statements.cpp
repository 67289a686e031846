#include "catalogue/Statements.h"

#include <QStringList>

QString QuotedStr(const QString& value) {
  QString text = value;
  text.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + text + QLatin1Char('\'');
}

namespace sql {

namespace {

QString QuotedList(std::initializer_list<QString> values) {
  QStringList quoted;
  for (const QString& v : values)
    quoted << QuotedStr(v);
  return quoted.join(QLatin1Char(','));
}

}  // namespace

QString SelectKind(int systemType) {
  switch (systemType) {
    case 0:
      return QStringLiteral(
          "Select * from Devices where systemtype=0 and mastermodelid<>999 order by description");
    case 1:
      return QStringLiteral(
          "Select * from Devices where systemtype=1 and mastermodelid<>999 order by description");
    case 2:
      return QStringLiteral("Select * from Devices where systemtype=2 order by description");
    case 3:
      return QStringLiteral("Select * from Devices where systemtype=3 order by description");
    default:
      return {};
  }
}

QString SelectDownloadAux(qint64 deviceId) {
  return QStringLiteral(
             "Select da.* from devices_aux as da inner join devices as d on da.deviceId=d.id   "
             "Where d.Id=") +
         QString::number(deviceId);
}

QString InsertMasterModel(const QString& id, const QString& mastermodel, const QString& radical) {
  return QStringLiteral("insert into mastermodel (id,mastermodel,radical) values (") +
         QuotedList({id, mastermodel, radical}) + QLatin1Char(')');
}

QString InsertDevice(const DeviceValues& v) {
  return QStringLiteral(
             "insert into devices "
             "(id,masterModelId,description,url_firmware,deviceSku,url_picture,chipsetId,"
             "systemType,tv_desc_menu,tv_desc_forcada,tminpendrive,md5) values (   ") +
         QuotedList({v.id, v.masterModelId, v.description, v.url_firmware, v.deviceSku,
                     v.url_picture, v.chipsetId, v.systemType, v.tv_desc_menu, v.tv_desc_forcada,
                     v.tminpendrive, v.md5}) +
         QLatin1Char(')');
}

QString InsertSystemLog(const SystemLogInsert& v) {
  return QStringLiteral(
             "insert into "
             "systemlog(macadress,pcname,windowsuser,externalipv4,operationsystem,cpu,memory_"
             "capacity,memory_free,disk_capacity,disk_free,city,state,systemversion,protocol) "
             "values(") +
         QuotedList({v.macadress, v.pcname, v.windowsuser, v.externalipv4, v.operationsystem, v.cpu,
                     v.memory_capacity, v.memory_free, v.disk_capacity, v.disk_free, v.city,
                     v.state, v.systemversion, v.protocol}) +
         QLatin1Char(')');
}

QString UpdateSystemLog(const SystemLogUpdate& v, const QString& id) {
  return QStringLiteral("update systemlog set protocol=") + QuotedStr(v.protocol) +
         QStringLiteral(",productid=") + QuotedStr(v.productid) + QStringLiteral(",chipset=") +
         QuotedStr(v.chipset) + QStringLiteral(",idlastuserinteraction=") +
         QuotedStr(v.idlastuserinteraction) + QStringLiteral(",idsystemstatus=") +
         QuotedStr(v.idsystemstatus) + QStringLiteral(",systemtotaltime=") +
         QuotedStr(v.systemtotaltime) + QStringLiteral(",downloadsize=") +
         QuotedStr(v.downloadsize) + QStringLiteral(",useractions=") + QuotedStr(v.useractions) +
         QStringLiteral(",firmwaredownloadtime=") + QuotedStr(v.firmwaredownloadtime) +
         QStringLiteral(",cd_nome=") + QuotedStr(v.cd_nome) + QStringLiteral(",cd_cpf=") +
         QuotedStr(v.cd_cpf) + QStringLiteral(",cd_telefone=") + QuotedStr(v.cd_telefone) +
         QStringLiteral(",cd_email=") + QuotedStr(v.cd_email) + QStringLiteral(",productname=") +
         QuotedStr(v.productname) + QStringLiteral("  where id=") + id;
}

QString SelectSystemLogNotSent() {
  return QStringLiteral("select * from systemlog where LogEnviadoServer=") +
         QuotedStr(QStringLiteral("N"));
}

QString MarkSystemLogSent(const QString& id) {
  return QStringLiteral("update systemlog set LogEnviadoServer=") + QuotedStr(QStringLiteral("S")) +
         QStringLiteral(" where id=") + id;
}

}  // namespace sql
