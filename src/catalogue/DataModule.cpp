#include "catalogue/DataModule.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <atomic>

#include "catalogue/Statements.h"

namespace {

// Qt names each connection; two data modules (in tests) must not share one.
QString UniqueName(const QString& name) {
  static std::atomic<int> counter{0};
  return name + QLatin1Char('-') + QString::number(++counter);
}

bool IsWholeNumber(const QVariant& v) {
  switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
      return true;
    default:
      return false;
  }
}

bool SameValue(const QVariant& stored, const QVariant& wanted) {
  if (stored.isNull() || wanted.isNull())
    return false;
  if (IsWholeNumber(stored)) {
    bool ok = false;
    const qint64 number = wanted.toLongLong(&ok);
    return ok && number == stored.toLongLong();
  }
  return stored.toString() == wanted.toString();
}

}  // namespace

TADOConnection::TADOConnection(const QString& name) : name_(UniqueName(name)) {
  QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
}

TADOConnection::~TADOConnection() {
  Close();
  QSqlDatabase::removeDatabase(name_);
}

bool TADOConnection::Open() {
  Close();
  QSqlDatabase db = Database();
  // A URI with mode=rw: SQLite would otherwise create a missing file.
  db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
  db.setDatabaseName(QUrl::fromLocalFile(FileName).toString(QUrl::FullyEncoded) +
                     QStringLiteral("?mode=rw"));
  if (!db.open()) {
    lastError_ = db.lastError().text();
    return false;
  }
  // SQLite reads the file lazily: a file that is not a database fails here.
  QSqlQuery probe(db);
  if (!probe.exec(QStringLiteral("PRAGMA schema_version"))) {
    lastError_ = probe.lastError().text();
    probe = QSqlQuery();
    db.close();
    return false;
  }
  lastError_.clear();
  return true;
}

void TADOConnection::Close() {
  Database().close();
}

bool TADOConnection::Connected() const {
  return Database().isOpen();
}

QSqlDatabase TADOConnection::Database() const {
  return QSqlDatabase::database(name_, false);
}

TADOQuery::TADOQuery(TADOConnection& connection, QString sql)
    : connection_(connection), sql_(std::move(sql)) {}

void TADOQuery::SetSQL(const QString& text) {
  Close();
  sql_ = text;
}

bool TADOQuery::Fail(const QString& error) {
  lastError_ = error;
  return false;
}

bool TADOQuery::Open() {
  Close();
  if (!connection_.Connected())
    return Fail(QStringLiteral("database not connected"));
  QSqlQuery query(connection_.Database());
  query.setForwardOnly(true);
  if (!query.exec(sql_))
    return Fail(query.lastError().text());
  const QSqlRecord record = query.record();
  for (int i = 0; i < record.count(); ++i)
    columns_ << record.fieldName(i);
  while (query.next()) {
    std::vector<QVariant> row;
    row.reserve(columns_.size());
    for (int i = 0; i < columns_.size(); ++i)
      row.push_back(query.value(i));
    rows_.push_back(std::move(row));
  }
  if (query.lastError().isValid()) {
    Close();
    return Fail(query.lastError().text());
  }
  active_ = true;
  lastError_.clear();
  return true;
}

void TADOQuery::Close() {
  active_ = false;
  columns_.clear();
  rows_.clear();
  current_ = 0;
}

bool TADOQuery::Requery() {
  return Open();
}

bool TADOQuery::ExecSQL() {
  if (!connection_.Connected())
    return Fail(QStringLiteral("database not connected"));
  QSqlQuery query(connection_.Database());
  if (!query.exec(sql_))
    return Fail(query.lastError().text());
  lastError_.clear();
  return true;
}

void TADOQuery::Next() {
  if (!Eof())
    ++current_;
}

int TADOQuery::ColumnIndex(const QString& column) const {
  for (int i = 0; i < columns_.size(); ++i) {
    if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

bool TADOQuery::Locate(const QString& column, const QVariant& value) {
  const int index = ColumnIndex(column);
  if (index < 0)
    return false;
  for (int row = 0; row < RecordCount(); ++row) {
    if (SameValue(rows_[row][index], value)) {
      current_ = row;
      return true;
    }
  }
  return false;
}

QVariant TADOQuery::FieldValue(const QString& column) const {
  const int index = ColumnIndex(column);
  if (index < 0 || Eof())
    return {};
  return rows_[current_][index];
}

Tdm::Tdm()
    : adoLogConn(QStringLiteral("adoLogConn")),
      systemlog(adoLogConn, QString::fromLatin1(sql::kSystemLog)),
      adoConnBase(QStringLiteral("adoConnBase")),
      devices(adoConnBase, QString::fromLatin1(sql::kDevices)),
      downloadaux(adoConnBase),
      radical(adoConnBase, QString::fromLatin1(sql::kRadical)),
      adocommand(adoConnBase) {}

Tdm::~Tdm() {
  adoConnBase.Close();
  adoLogConn.Close();
}

bool Tdm::Fail(const TADOConnection& connection) {
  const QString file = QDir::toNativeSeparators(connection.FileName);
  openFailure_ = (QFileInfo::exists(connection.FileName)
                      ? QStringLiteral("Não foi possível abrir o arquivo de dados \"%1\".")
                      : QStringLiteral("O arquivo de dados \"%1\" não foi encontrado."))
                     .arg(file) +
                 QStringLiteral(" Reinstale o Assistente Inteligente Solvanta.");
  radical.Close();
  adoConnBase.Close();
  adoLogConn.Close();
  return false;
}

bool Tdm::OpenDatabases(const QString& dataDir) {
  openFailure_.clear();
  adoConnBase.FileName = dataDir + QString::fromLatin1(kCatalogueFile);
  adoLogConn.FileName = dataDir + QString::fromLatin1(kLogFile);
  if (!adoConnBase.Open())
    return Fail(adoConnBase);
  if (!adoLogConn.Open())
    return Fail(adoLogConn);
  if (!radical.Open())
    return Fail(adoConnBase);
  return true;
}

bool Tdm::Command(const QString& sql) {
  adocommand.SetSQL(sql);
  return adocommand.ExecSQL();
}

bool Tdm::SelectKind(int systemType) {
  const QString text = sql::SelectKind(systemType);
  if (text.isEmpty())
    return false;
  devices.SetSQL(text);
  return devices.Open();
}

bool Tdm::OpenDownloadAux(qint64 deviceId) {
  downloadaux.SetSQL(sql::SelectDownloadAux(deviceId));
  return downloadaux.Open();
}

QString IdFromRadical(TADOQuery& radical, const QString& text) {
  if (!radical.Locate(QStringLiteral("radical"), text.right(5)))
    return {};
  const QVariant id = radical.FieldValue(QStringLiteral("Iddevice"));
  return id.isNull() ? QString() : QString::number(id.toLongLong());
}
