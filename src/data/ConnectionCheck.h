#pragma once

#include "data/BuildSettings.h"

#include <QString>

// Tries connection values without touching the program's own connection: the window that sets
// them shows the server's answer, and start-up tells a missing driver apart from a server that
// does not answer.
namespace ConnectionCheck {

struct Result {
    bool ok = false;
    QString answer;        // the server's version text, or the driver's error text
    bool driverMissing = false;
};
// Opens a connection of its own, asks the server for its version and closes again.
Result test(const BuildSettings::OdbcValues& values, int timeoutSeconds = 15);

// Whether a failure to open says that no ODBC driver of the name given is installed (the driver
// manager's IM002, or unixODBC's "Can't open lib").
bool isDriverMissing(const QString& errorText, const QString& code = {});

} // namespace ConnectionCheck
