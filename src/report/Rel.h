#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

class Tdm;
class TPtr;
class TWMI;
namespace platform {
class Environment;
}
namespace service {
class Idmserver;
}

// The facts of the run the log writes, read anew at every report.
struct TRelFacts {
  QString ExecVersion, OSInfo;
  QString InfoIp, InfoCpu, InfoMemoria, InfoMemoriaFree, InfoDiscoCapacidade, InfoDiscoFree,
      InfoCidade, InfoEstado;
  QString ItemProductId, ItemChipset, ItemTotalFirmwareDownloaded, ItemModelo;
  QString ItemclientName, ItemclientCpf, ItemClientTelefone, ItemClientEmail;
  QString systemTotalTimeUp, SystemFirmwareDownloadTime;
};

// What the log works with. The protocol keeper, the service client and the
// WMI connection are reached when used, since some are created after the log.
struct TRelLinks {
  Tdm* dm = nullptr;
  std::function<TPtr*()> ptr;
  std::function<service::Idmserver*()> service;
  std::function<TWMI*()> wmi;
  std::function<TRelFacts()> facts;
  std::function<QDateTime()> now;  // local time
  QLocale locale;                  // the user's date and time separators
};

// The run's log record; texts are held cut to the lengths given.
struct Tlogs {
  QString MacAddress;  // 50
  QString Usuario;     // 250
  QString Owner;       // 250
  QString Os;          // 250
  QString status;      // 50
  QString ultimaacao;  // 50
  QString SysVersion;  // 20
  QString log;         // the running text, unbounded
};

// The log keeper: one `systemlog` row per run, rewritten at every report so
// it is complete whenever the program stops, and the delivery of the rows
// not yet sent to the update service.
class TRel {
 public:
  TRel();  // the program's: the application object, its data module and clock
  explicit TRel(TRelLinks links);

  // Starts the run's row; once, when the main window first shows.
  void inicializar();
  void SetStatus(const QString& status);
  void SetUltimaAcao(const QString& ultimaacao);
  // Appends "dd/mm/yyyy hh:mm:ss  -  " + `log` + CR LF to the running text.
  void SetRel(const QString& log);
  // The chipset column always takes the application object's ItemChipset.
  void SetChipset(const QString& Chipset);
  void SetMacAddress();
  void SetUsuarioandOwner();
  // Sends every row not yet delivered, marking each one the service kept.
  // Every failure of a row is swallowed and the next row is tried.
  void EnviaSystemLog();

  const QString& SystemId() const { return systemId_; }
  const Tlogs& logs() const { return logs_; }
  // "dd/mm/yyyy hh:mm:ss" with the separators of the user's settings.
  QString TimeStamp(const QDateTime& at) const;

 private:
  // Writes the run's row; without a row yet, it is inserted first, so a
  // failed insert is tried again and never an earlier run's row rewritten.
  void UpdateRow();
  bool InsertRow();
  void ReopenLast();

  TRelLinks links_;
  Tlogs logs_;
  QString systemId_;
};

// `text` cut to its first `length` characters, a surrogate pair kept whole.
QString Cut(const QString& text, int length);

// The user's locale: LC_ALL, LC_TIME or LANG of `environment` when one names
// a locale, else the system's.
QLocale UserLocale(platform::Environment& environment);
