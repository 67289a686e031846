#pragma once

#include <QString>
#include <QStringList>
#include <expected>

// Lays down the program's database files from the embedded "schema.sql" and
// demo catalogue. The program itself never creates them: the demo world and
// the tests do, as an installation would.
namespace catalogue {

// The statements of an SQL script: split at each ";" outside quotes and
// comments, blank ones dropped.
QStringList SplitSqlScript(const QString& script);

// The statements of "schema.sql" for the file named `fileName`
// ("Slvcare.slv" or "Slvcarerel.slv"); empty for any other name.
QStringList SchemaOf(const QString& fileName);

// The demo catalogue's statements, "@SERVIDOR@" replaced by `serverUrl`.
QStringList DemoCatalogue(const QString& serverUrl);

// Creates the database `path` by running `statements` in order. It is built
// under a temporary name and renamed into place, replacing an older file, so
// a failure leaves no half-made database behind.
std::expected<void, QString> CreateDatabaseFile(const QString& path, const QStringList& statements);

// In `dataDir` (ending with a separator): the catalogue made afresh with the
// demo rows pointing at `serverUrl`, and the log, made empty only when it is
// missing so the rows of earlier runs stay.
std::expected<void, QString> WriteDemoDatabases(const QString& dataDir, const QString& serverUrl);

}  // namespace catalogue
