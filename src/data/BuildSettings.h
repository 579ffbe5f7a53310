#pragma once

#include "data/ServerConnection.h"

// The connection the program was built for: ODBC to SQL Server when a host was configured,
// otherwise the embedded database file beside the program.
namespace BuildSettings {
bool usesEmbeddedDatabase();
QString odbcConnectionString();
ConnectionSettings connectionSettings();

// The pieces of an ODBC connection string; extra holds further attributes as written
// ("Encrypt=yes;TrustServerCertificate=yes"), put after the password.
struct OdbcValues {
    QString driver, host, database, uid, pwd, extra;
};
// "Driver={…};SERVER=…;DATABASE=…;UID=…;PWD=…", then ";" and the extra attributes if any.
QString OdbcConnectionString(const OdbcValues& values);
// A value as ODBC reads it back whole: a value that holds ";", "{" or "}", or begins or ends with
// a blank, goes in braces with each "}" doubled; any other value goes in as it is.
QString OdbcValue(const QString& value);
} // namespace BuildSettings
