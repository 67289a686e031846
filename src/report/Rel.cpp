#include "report/Rel.h"

#include <QDebug>
#include <exception>

#include "app/WMI.h"
#include "catalogue/DataModule.h"
#include "catalogue/Statements.h"
#include "platform/Environment.h"
#include "report/Ptr.h"
#include "service/Idmserver.h"

namespace {

// The first character of a date or time format that is no field letter.
QString Separator(const QString& format, const QString& fallback) {
  for (const QChar c : format) {
    if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace())
      return QString(c);
  }
  return fallback;
}

// A statement that returns no rows, on the log connection.
bool Exec(Tdm& dm, const QString& sql) {
  TADOQuery query(dm.adoLogConn, sql);
  if (query.ExecSQL())
    return true;
  // The statement carries the customer's data: only the error is told.
  qWarning().noquote() << "systemlog:" << query.LastError();
  return false;
}

}  // namespace

QString Cut(const QString& text, int length) {
  if (text.size() <= length)
    return text;
  const bool splitsPair = length > 0 && text.at(length - 1).isHighSurrogate();
  return text.left(splitsPair ? length - 1 : length);
}

QLocale UserLocale(platform::Environment& environment) {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    const QString value = QString::fromStdString(environment.Variable(name).value_or(""));
    const QString locale = value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (locale.isEmpty() || locale == u"C" || locale == u"POSIX")
      continue;
    const QLocale named(locale);
    if (named.language() != QLocale::C)
      return named;
  }
  return QLocale::system();
}

TRel::TRel(TRelLinks links) : links_(std::move(links)) {}

QString TRel::TimeStamp(const QDateTime& at) const {
  const QString d = Separator(links_.locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
  const QString t = Separator(links_.locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
  return at.toString(QStringLiteral("dd'%1'MM'%1'yyyy HH'%2'mm'%2'ss").arg(d, t));
}

void TRel::inicializar() {
  Tdm& dm = *links_.dm;
  dm.adoLogConn.Open();
  dm.systemlog.SetSQL(QString::fromLatin1(sql::kSystemLog));
  dm.systemlog.Open();

  const TRelFacts facts = links_.facts();
  logs_ = Tlogs{};
  logs_.SysVersion = Cut(facts.ExecVersion, 20);
  logs_.Os = Cut(facts.OSInfo, 250);
  SetUsuarioandOwner();
  SetMacAddress();
  logs_.status = QStringLiteral("1");
  logs_.ultimaacao = QStringLiteral("10");
  if (TPtr* ptr = links_.ptr())
    ptr->Initialize();

  systemId_.clear();
  InsertRow();
}

bool TRel::InsertRow() {
  Tdm& dm = *links_.dm;
  const TRelFacts facts = links_.facts();
  const TPtr* ptr = links_.ptr();
  const QString sql = sql::InsertSystemLog({
      Cut(logs_.MacAddress, 50),
      Cut(logs_.Owner, 200),
      Cut(logs_.Usuario, 200),
      Cut(facts.InfoIp, 50),
      Cut(logs_.Os, 200),
      Cut(facts.InfoCpu, 200),
      Cut(facts.InfoMemoria, 200),
      Cut(facts.InfoMemoriaFree, 200),
      Cut(facts.InfoDiscoCapacidade, 200),
      Cut(facts.InfoDiscoFree, 200),
      facts.InfoCidade,
      facts.InfoEstado,
      logs_.SysVersion,
      ptr ? ptr->GetProtocol() : QString(),
  });
  if (!Exec(dm, sql))
    return false;
  // The row this connection inserted, whatever another copy of the program
  // inserted since.
  TADOQuery last(dm.adoLogConn, QStringLiteral("select last_insert_rowid() as id"));
  if (!last.Open() || last.IsEmpty())
    return false;
  systemId_ = QString::number(last.FieldValue(QStringLiteral("id")).toLongLong());
  ReopenLast();
  return true;
}

void TRel::ReopenLast() {
  TADOQuery& log = links_.dm->systemlog;
  if (log.Requery())
    log.Last();
}

void TRel::UpdateRow() {
  if (systemId_.isEmpty() && !InsertRow())
    return;
  const TRelFacts facts = links_.facts();
  const TPtr* ptr = links_.ptr();
  sql::SystemLogUpdate v;
  v.protocol = ptr ? ptr->GetProtocol() : QString();
  v.productid = facts.ItemProductId;
  v.chipset = facts.ItemChipset;
  v.idlastuserinteraction = logs_.ultimaacao;
  v.idsystemstatus = logs_.status;
  v.systemtotaltime = facts.systemTotalTimeUp;
  v.downloadsize = facts.ItemTotalFirmwareDownloaded;
  v.useractions = logs_.log;
  v.firmwaredownloadtime = facts.SystemFirmwareDownloadTime;
  v.cd_nome = facts.ItemclientName;
  v.cd_cpf = facts.ItemclientCpf;
  v.cd_telefone = facts.ItemClientTelefone;
  v.cd_email = facts.ItemClientEmail;
  v.productname = facts.ItemModelo;
  Exec(*links_.dm, sql::UpdateSystemLog(v, systemId_));
  ReopenLast();
}

void TRel::SetStatus(const QString& status) {
  logs_.status = Cut(status, 50);
  UpdateRow();
}

void TRel::SetUltimaAcao(const QString& ultimaacao) {
  logs_.ultimaacao = Cut(ultimaacao, 50);
  UpdateRow();
}

void TRel::SetRel(const QString& log) {
  logs_.log += TimeStamp(links_.now()) + QStringLiteral("  -  ") + log + QStringLiteral("\r\n");
  UpdateRow();
}

void TRel::SetChipset(const QString& /*Chipset*/) {
  UpdateRow();
}

void TRel::SetUsuarioandOwner() {
  logs_.Usuario.clear();
  logs_.Owner.clear();
  try {
    TWMI* wmi = links_.wmi();
    if (wmi == nullptr)
      return;
    auto query = wmi->CreateQuery("SELECT CSName,RegisteredUser FROM Win32_OperatingSystem");
    if (query->Next()) {
      logs_.Usuario = Cut(QString::fromStdString(query->Value("RegisteredUser")), 250);
      logs_.Owner = Cut(QString::fromStdString(query->Value("CSName")), 250);
    }
  } catch (const std::exception&) {
    logs_.Usuario.clear();
    logs_.Owner.clear();
  }
}

void TRel::SetMacAddress() {
  logs_.MacAddress.clear();
  try {
    TWMI* wmi = links_.wmi();
    if (wmi == nullptr)
      return;
    auto query = wmi->CreateQuery(
        "SELECT MACAddress FROM Win32_NetworkAdapterConfiguration where IPEnabled=true");
    if (query->Next()) {
      logs_.MacAddress = Cut(QString::fromStdString(query->Value("MACAddress")), 50);
    }
  } catch (const std::exception&) {
    logs_.MacAddress.clear();
  }
}

void TRel::EnviaSystemLog() {
  Tdm& dm = *links_.dm;
  TADOQuery& log = dm.systemlog;
  log.Close();
  log.SetSQL(sql::SelectSystemLogNotSent());
  if (!log.Open())
    return;
  service::Idmserver* server = links_.service();
  if (server == nullptr)
    return;
  for (log.First(); !log.Eof(); log.Next()) {
    try {
      service::SystemLogValues values;
      for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = log.FieldValue(QString::fromLatin1(service::kSystemLogParameters[i]))
                        .toString()
                        .toStdString();
      }
      if (server->RecebeSystemLog(service::kKey, values)) {
        Exec(dm, sql::MarkSystemLogSent(
                     QString::number(log.FieldValue(QStringLiteral("id")).toLongLong())));
      }
    } catch (const std::exception& e) {
      qWarning().noquote() << "systemlog: row not delivered:" << e.what();
    }
  }
}
