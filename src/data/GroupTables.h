#pragma once

#include <QString>
#include <QStringList>

// Tables of the group's own, beside the three tables every copy shares unchanged. The embedded
// database makes them itself; a server gets them from a script its administrator runs, and until
// then the windows that need them say so while the rest of the program works as before.
namespace GroupTables {

// The script, under src/data/schema, that creates them on SQL Server.
inline const QString ServerScript = QStringLiteral("group-sqlserver.sql");

// The script that adds, to a server made by an older ServerScript, the tables it lacks.
inline const QString UpdateScript = QStringLiteral("group-sqlserver-orderlines.sql");

// Older: the server holds the group's first tables but not those this copy also needs.
enum class Presence { Present, Missing, Older, ServerFailed };

// Whether every one of tables exists on the server ServerConnection reaches; on ServerFailed the
// driver's text goes to error.
Presence Check(const QStringList& tables, QString* error = nullptr);

// Tells the manager that the tables are missing and which script creates them.
QString MissingMessage();
// Tells the manager that the group's tables are older than this copy and which script adds the rest.
QString OlderMessage();
// The message for Missing or Older.
QString Message(Presence presence);

} // namespace GroupTables
