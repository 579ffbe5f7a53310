#pragma once

#include "data/ServerConnection.h"

// The connection values compiled into the program (the defaults a settings file overrides), and
// the ODBC connection string made of such values.
namespace BuildSettings {

// The pieces of an ODBC connection string; extra holds further attributes as written
// ("Encrypt=yes;TrustServerCertificate=yes"), put after the password.
struct OdbcValues {
    QString driver, host, database, uid, pwd, extra;
    bool operator==(const OdbcValues&) const = default;
};
// The values the build was configured with. The password is never built in.
OdbcValues compiledValues();

// "Driver={…};SERVER=…;DATABASE=…;UID=…;PWD=…", then ";" and the extra attributes if any.
QString OdbcConnectionString(const OdbcValues& values);
// A value as ODBC reads it back whole: a value that holds ";", "{" or "}", or begins or ends with
// a blank, goes in braces with each "}" doubled; any other value goes in as it is.
QString OdbcValue(const QString& value);

// The same string in the three pieces Qt's ODBC driver joins as
// databaseName + ";UID=" + userName + ";PWD=" + password (leaving out an empty one). The driver
// takes a database name holding ".dsn" anywhere for a file DSN, so an attribute whose value holds
// it moves behind the password, which the driver passes on untouched.
struct OdbcOpen {
    QString databaseName, userName, password;
};
OdbcOpen OdbcOpenParts(const OdbcValues& values);

// The embedded database when no host is given, else ODBC with these values.
bool usesEmbeddedDatabase(const OdbcValues& values);
ConnectionSettings connectionSettings(const OdbcValues& values);
} // namespace BuildSettings
