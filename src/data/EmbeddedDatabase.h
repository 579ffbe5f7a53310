#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The database a build without a server host runs on: a SQLite file beside the program, made on
// first start with the three tables, the control record and a demo catalogue.
namespace EmbeddedDatabase {

inline const QString FileName = QStringLiteral("brentoval.db");
// The manager's phone in the control record of a new embedded database.
inline const QString DemoManagerPhone = QStringLiteral("01000000000");

// Where the database and the client book live: beside the program, or, for a copy installed for
// all users (the installer leaves AllUsersMarker beside it), in the user's application-data folder.
inline const QString AllUsersMarker = QStringLiteral("all-users.txt");
QString dataFolder();
QString defaultPath();

// The CREATE TABLE statements for "sqlite", "postgresql" or "sqlserver"; with the prefix "group-",
// those of the group's own tables; with "keys-", the keys added to both.
QStringList schemaStatements(const QString& dialect);
// The table a "CREATE TABLE name (...)" statement creates.
QString tableOf(const QString& createStatement);

// Creates the tables and the group's own tables in db (dialect as above) and fills the control record and the demo
// catalogue; tables already there are left alone.
bool createAndSeed(QSqlDatabase& db, const QString& dialect, QString* error);

// Makes sure the SQLite file at path holds the tables; creates and seeds it when it does not.
bool ensureCreated(const QString& path, QString* error);

// The demo catalogue: generic names with price and discount.
struct DemoDrug {
    const char* name;
    double price;
    double disc;
};
const std::vector<DemoDrug>& demoCatalogue();

} // namespace EmbeddedDatabase
