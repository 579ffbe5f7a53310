#pragma once

#include "data/BuildSettings.h"
#include "data/SecretProtect.h"

#include <QString>
#include <optional>

// Where this machine's copy finds its server: a settings file in the user's application-data
// folder, or for an install for all users the machine's, over the values compiled in. The password
// in it is sealed (SecretProtect); the other values are plain text.
namespace ConnectionConfig {

using Values = BuildSettings::OdbcValues;
using Scope = SecretProtect::Scope;

// "%LOCALAPPDATA%\Brentoval\connection.ini" (the user's) and "%ProgramData%\Brentoval\connection.ini"
// (the machine's) on Windows; the XDG places elsewhere.
QString filePath(Scope scope);

// The file's values over defaults (a key the file leaves out keeps its default); nothing, with
// error set, when it cannot be read or its password cannot be opened here.
std::optional<Values> read(const QString& path, const Values& defaults, QString* error = nullptr);
// Values an installer hands over in plain text, one "key=value" line each (driver, server,
// database, uid, pwd, extra), UTF-8 or UTF-16 with its byte-order mark: everything after the first
// "=" is the value as typed. Keys left out keep their defaults.
std::optional<Values> readPlain(const QString& path, const Values& defaults, QString* error = nullptr);
// Writes every value, the password sealed for scope; false with error set when it cannot.
bool write(const QString& path, const Values& values, Scope scope, QString* error = nullptr);

// What the program runs with: the user's file if there is one, else the machine's, else the
// compiled values. source names the file used (empty for the compiled values).
struct Current {
    Values values;
    QString source;
    QString error; // the file that was there could not be used
};
Current current();

} // namespace ConnectionConfig
