#pragma once

#include "data/ConnectionConfig.h"

#include <QString>
#include <QStringList>
#include <functional>

class QApplication;

// What the program does before its first window: right-to-left Arabic interface, font faces,
// Qt's Arabic button texts, the server connection settings and the embedded database.
namespace AppStart {

// What the command line asks before any window: "--settings" opens the connection settings
// window, "--import-settings FILE" stores the values of FILE (lines "key=value") sealed and
// removes FILE; with "--all-users" both work on the machine's settings. The exit code, or -1 to
// start as usual.
int runCommandLine(const QStringList& arguments);
// The settings window for the file of scope; true when saved.
bool editSettings(ConnectionConfig::Scope scope);
// Tells text and offers the settings window; once saved, the program starts again (after
// beforeRestart, which lets the new copy be the first).
void offerSettings(const QString& text);
inline std::function<void()> beforeRestart;
// What start-up tells when the server cannot be reached: a missing driver by its name.
QString startFailureText(const QString& error, const QString& code, const QString& driver);
// Marks this process as a running copy for the installer and the uninstaller, which look for the
// mutex "Global\BrentovalRunning" (any user's copy on the machine) before they replace files.
void announceRunning();
// Starts the user's log in the application-data folder (UserLog) with the statements the server
// refuses.
void startLog();
// Shows the program's windows in front, the one in use on top (a second start asked for it).
void bringForward();
// Sets up the application object: right-to-left Arabic, font faces, Qt's Arabic texts.
void setUp(QApplication& app);
// The connection settings and the embedded database; false (after telling the user) when the
// program cannot go on.
bool prepare();
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
