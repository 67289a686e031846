#include "catalogue/DatabaseFiles.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include "catalogue/DataModule.h"

// The resource initialiser cannot be named inside a namespace.
static void InitDataResources() {
  Q_INIT_RESOURCE(data);
}

namespace catalogue {

namespace {

QString Resource(const QString& name) {
  InitDataResources();
  QFile file(QStringLiteral(":/data/") + name);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(file.readAll());
}

std::expected<void, QString> RunStatements(QSqlDatabase& db, const QStringList& statements) {
  QSqlQuery query(db);
  for (const QString& statement : statements) {
    if (!query.exec(statement)) {
      return std::unexpected(query.lastError().text() + QStringLiteral(": ") + statement);
    }
  }
  return {};
}

}  // namespace

QStringList SplitSqlScript(const QString& script) {
  QStringList statements;
  QString current;
  for (qsizetype i = 0; i < script.size(); ++i) {
    const QChar c = script[i];
    if (c == QLatin1Char('-') && i + 1 < script.size() && script[i + 1] == QLatin1Char('-')) {
      while (i < script.size() && script[i] != QLatin1Char('\n'))
        ++i;
      current += QLatin1Char('\n');
      continue;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      // Quoted text runs to the closing quote; a doubled quote stays inside.
      current += c;
      for (++i; i < script.size(); ++i) {
        current += script[i];
        if (script[i] == c) {
          if (i + 1 < script.size() && script[i + 1] == c) {
            current += script[++i];
          } else {
            break;
          }
        }
      }
      continue;
    }
    if (c == QLatin1Char(';')) {
      if (!current.trimmed().isEmpty())
        statements << current.trimmed();
      current.clear();
      continue;
    }
    current += c;
  }
  if (!current.trimmed().isEmpty())
    statements << current.trimmed();
  return statements;
}

QStringList SchemaOf(const QString& fileName) {
  const QString marker = QStringLiteral("-- file: ");
  QString section;
  bool inside = false;
  for (const QString& line : Resource(QStringLiteral("schema.sql")).split(QLatin1Char('\n'))) {
    if (line.startsWith(marker)) {
      inside = line.mid(marker.size()).trimmed() == fileName;
      continue;
    }
    if (inside)
      section += line + QLatin1Char('\n');
  }
  return SplitSqlScript(section);
}

QStringList DemoCatalogue(const QString& serverUrl) {
  return SplitSqlScript(
      Resource(QStringLiteral("catalogue.sql")).replace(QStringLiteral("@SERVIDOR@"), serverUrl));
}

std::expected<void, QString> CreateDatabaseFile(const QString& path,
                                                const QStringList& statements) {
  const QString building = path + QStringLiteral(".new");
  QFile::remove(building);
  const QString name = QUuid::createUuid().toString();
  std::expected<void, QString> result;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(building);
    if (!db.open()) {
      result = std::unexpected(db.lastError().text());
    } else {
      result = RunStatements(db, statements);
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  if (result) {
    QFile::remove(path);
    if (!QFile::rename(building, path)) {
      result = std::unexpected(QStringLiteral("não foi possível gravar %1").arg(path));
    }
  }
  if (!result) {
    QFile::remove(building);
    return std::unexpected(QStringLiteral("%1: %2").arg(path, result.error()));
  }
  return {};
}

std::expected<void, QString> WriteDemoDatabases(const QString& dataDir, const QString& serverUrl) {
  const QString catalogueFile = QString::fromLatin1(Tdm::kCatalogueFile);
  auto made = CreateDatabaseFile(dataDir + catalogueFile,
                                 SchemaOf(catalogueFile) + DemoCatalogue(serverUrl));
  if (!made)
    return made;
  const QString log = dataDir + QString::fromLatin1(Tdm::kLogFile);
  if (QFile::exists(log))
    return {};
  return CreateDatabaseFile(log, SchemaOf(QString::fromLatin1(Tdm::kLogFile)));
}

}  // namespace catalogue
