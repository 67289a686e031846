#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

// One database file. Opening never creates the file: a missing file, one that
// is not a database or cannot be read fails with a message naming it.
class TADOConnection {
 public:
  explicit TADOConnection(const QString& name);
  ~TADOConnection();
  TADOConnection(const TADOConnection&) = delete;
  TADOConnection& operator=(const TADOConnection&) = delete;

  QString FileName;  // the database file

  bool Open();
  void Close();
  bool Connected() const;
  QSqlDatabase Database() const;
  const QString& LastError() const { return lastError_; }

 private:
  QString name_;
  QString lastError_;
};

// A statement and, once open, its rows held in memory (a static cursor) with a
// current row. Every operation reports failure by its result and LastError;
// none throws, and a closed connection only makes them fail.
class TADOQuery {
 public:
  explicit TADOQuery(TADOConnection& connection, QString sql = {});

  const QString& SQL() const { return sql_; }
  void SetSQL(const QString& text);  // closes the query

  bool Open();
  void Close();
  bool Active() const { return active_; }
  // Runs the same text again; the first row becomes the current one.
  bool Requery();
  // Runs a statement that returns no rows.
  bool ExecSQL();

  int RecordCount() const { return static_cast<int>(rows_.size()); }
  bool IsEmpty() const { return rows_.empty(); }
  bool Eof() const { return current_ >= RecordCount(); }
  int RecNo() const { return current_; }  // 0-based; RecordCount() past the last
  void First() { current_ = 0; }
  void Next();
  void Last() { current_ = rows_.empty() ? 0 : RecordCount() - 1; }
  // Makes the first row whose `column` equals `value` the current one; false,
  // and the current row unchanged, when none does. Texts compare exactly;
  // a whole-number column compares with the value read as a number.
  bool Locate(const QString& column, const QVariant& value);

  // The current row's value of `column` (any letter case); null without a
  // current row or such a column.
  QVariant FieldValue(const QString& column) const;
  const QStringList& FieldNames() const { return columns_; }
  const QString& LastError() const { return lastError_; }

 private:
  int ColumnIndex(const QString& column) const;
  bool Fail(const QString& error);

  TADOConnection& connection_;
  QString sql_;
  bool active_ = false;
  QStringList columns_;
  std::vector<std::vector<QVariant>> rows_;
  int current_ = 0;
  QString lastError_;
};

// A persistent field: one column of a query, read from its current row.
class TField {
 public:
  TField(const TADOQuery& query, QString column) : query_(query), column_(std::move(column)) {}

  QVariant Value() const { return query_.FieldValue(column_); }
  QString AsString() const { return Value().toString(); }
  qint64 AsInteger() const { return Value().toLongLong(); }
  bool IsNull() const { return Value().isNull(); }
  const QString& FieldName() const { return column_; }

 private:
  const TADOQuery& query_;
  QString column_;
};

// The data module: the catalogue "Slvcare.slv" and the log "Slvcarerel.slv"
// of the data folder, their queries and the command object.
class Tdm {
 public:
  static constexpr const char* kCatalogueFile = "Slvcare.slv";
  static constexpr const char* kLogFile = "Slvcarerel.slv";

  Tdm();
  ~Tdm();
  Tdm(const Tdm&) = delete;
  Tdm& operator=(const Tdm&) = delete;

  // Connects the catalogue, then the log, then opens `radical`. On failure
  // OpenFailure() holds the user's message naming the file, and whatever was
  // opened is closed again.
  bool OpenDatabases(const QString& dataDir);
  // Empty once both databases are open; the message for the user otherwise.
  const QString& OpenFailure() const { return openFailure_; }

  // Runs one statement on the catalogue; false on any error, never throws.
  bool Command(const QString& sql);
  // Puts the selection of `systemType` (0 to 3) into `devices` and opens it;
  // false, with `devices` untouched, for any other kind.
  bool SelectKind(int systemType);
  // Opens `downloadaux` on the further files of the device `deviceId`.
  bool OpenDownloadAux(qint64 deviceId);

  // Members in the system's order.
  TADOConnection adoLogConn;
  TADOQuery systemlog;
  TADOConnection adoConnBase;
  TADOQuery devices;
  TADOQuery downloadaux;
  TADOQuery radical;
  TADOQuery adocommand;

  TField systemlogid{systemlog, QStringLiteral("id")};
  TField systemlogmacadress{systemlog, QStringLiteral("macadress")};
  TField systemlogpcname{systemlog, QStringLiteral("pcname")};
  TField systemlogwindowsuser{systemlog, QStringLiteral("windowsuser")};
  TField systemlogexternalipv4{systemlog, QStringLiteral("externalipv4")};
  TField systemlogoperationsystem{systemlog, QStringLiteral("operationsystem")};
  TField systemlogcpu{systemlog, QStringLiteral("cpu")};
  TField systemlogmemory_capacity{systemlog, QStringLiteral("memory_capacity")};
  TField systemlogmemory_free{systemlog, QStringLiteral("memory_free")};
  TField systemlogdisk_capacity{systemlog, QStringLiteral("disk_capacity")};
  TField systemlogdisk_free{systemlog, QStringLiteral("disk_free")};
  TField systemlogcity{systemlog, QStringLiteral("city")};
  TField systemlogstate{systemlog, QStringLiteral("state")};
  TField systemlogsystemversion{systemlog, QStringLiteral("systemversion")};
  TField systemlogprotocol{systemlog, QStringLiteral("protocol")};
  TField systemlogproductid{systemlog, QStringLiteral("productid")};
  TField systemlogchipset{systemlog, QStringLiteral("chipset")};
  TField systemlogidlastuserinteraction{systemlog, QStringLiteral("idlastuserinteraction")};
  TField systemlogidsystemstatus{systemlog, QStringLiteral("idsystemstatus")};
  TField systemlogsystemtotaltime{systemlog, QStringLiteral("systemtotaltime")};
  TField systemlogfirmwaredownloadtime{systemlog, QStringLiteral("firmwaredownloadtime")};
  TField systemlogdownloadsize{systemlog, QStringLiteral("downloadsize")};
  TField systemloguseractions{systemlog, QStringLiteral("useractions")};
  TField systemlogalreadySent{systemlog, QStringLiteral("alreadySent")};
  TField systemlogProductName{systemlog, QStringLiteral("ProductName")};
  TField systemlogcd_cpf{systemlog, QStringLiteral("cd_cpf")};
  TField systemlogcd_nome{systemlog, QStringLiteral("cd_nome")};
  TField systemlogcd_telefone{systemlog, QStringLiteral("cd_telefone")};
  TField systemlogcd_email{systemlog, QStringLiteral("cd_email")};
  TField systemlogLogEnviadoServer{systemlog, QStringLiteral("LogEnviadoServer")};

  TField devicesid{devices, QStringLiteral("id")};
  TField devicesmasterModelId{devices, QStringLiteral("masterModelId")};
  TField devicesdescription{devices, QStringLiteral("description")};
  TField devicesurl_firmware{devices, QStringLiteral("url_firmware")};
  TField devicesdeviceSku{devices, QStringLiteral("deviceSku")};
  TField devicesurl_picture{devices, QStringLiteral("url_picture")};
  TField devicesbin_firmware{devices, QStringLiteral("bin_firmware")};
  TField deviceschipsetId{devices, QStringLiteral("chipsetId")};
  TField devicesRewriter_Instruction{devices, QStringLiteral("Rewriter_Instruction")};
  TField devicessystemType{devices, QStringLiteral("systemType")};
  TField devicesmd5{devices, QStringLiteral("md5")};
  TField devicestv_desc_menu{devices, QStringLiteral("tv_desc_menu")};
  TField devicestv_desc_forcada{devices, QStringLiteral("tv_desc_forcada")};
  TField devicesTminpendrive{devices, QStringLiteral("Tminpendrive")};

  TField downloadauxid{downloadaux, QStringLiteral("id")};
  TField downloadauxdeviceId{downloadaux, QStringLiteral("deviceId")};
  TField downloadauxurl_firmware{downloadaux, QStringLiteral("url_firmware")};
  TField downloadauxmd5{downloadaux, QStringLiteral("md5")};

  TField radicalradical{radical, QStringLiteral("radical")};
  TField radicalIddevice{radical, QStringLiteral("Iddevice")};

 private:
  bool Fail(const TADOConnection& connection);

  QString openFailure_;
};

// The device id of a model code: the last 5 characters of `text` (all of it
// when shorter) located in the `radical` column of `radical`, as decimal
// text; empty when no row matches. Moves the current row of `radical`.
QString IdFromRadical(TADOQuery& radical, const QString& text);
