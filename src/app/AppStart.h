#pragma once

#include <QString>

class QApplication;

// What the program does before its first window: right-to-left Arabic interface, font faces,
// Qt's Arabic button texts, the server connection settings and the embedded database.
namespace AppStart {

// Sets up the application object; returns false (after telling the user) when it cannot go on.
bool prepare(QApplication& app);
// The embedded database file at path as start-up can use it: the name to open (empty when it
// cannot be used) and what to tell the user (empty when all is well). A folder that cannot be
// written opens a file already there for reading only.
struct EmbeddedStart {
    QString connectionString;
    QString message;
};
EmbeddedStart openEmbedded(const QString& path, bool folderWritable);
// Whether a file can be made in folder: a try, since on Windows the access lists that forbid
// writing under Program Files are not in the attributes a permission check reads.
bool folderWritable(const QString& folder);
// Maps the faces the window designs name to faces this platform has.
void installFontSubstitutes();
// Connects ConnectServer's busy pointer and fatal-error handling to the screen: until
// startupFinished() a server that cannot be reached ends the program after its error text;
// from then on it is reported and the windows stay open.
void installConnectHooks();
void startupFinished();

} // namespace AppStart
