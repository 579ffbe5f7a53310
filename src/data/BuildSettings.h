#pragma once

#include "data/ServerConnection.h"

// The connection the program was built for: ODBC to SQL Server when a host was configured,
// otherwise the embedded database file beside the program.
namespace BuildSettings {
bool usesEmbeddedDatabase();
QString odbcConnectionString();
ConnectionSettings connectionSettings();
} // namespace BuildSettings
