#pragma once

class QApplication;

// What the program does before its first window: right-to-left Arabic interface, font faces,
// Qt's Arabic button texts, the server connection settings and the embedded database.
namespace AppStart {

// Sets up the application object; returns false (after telling the user) when it cannot go on.
bool prepare(QApplication& app);
// Maps the faces the window designs name to faces this platform has.
void installFontSubstitutes();
// Connects ConnectServer's busy pointer and fatal-error handling to the screen: until
// startupFinished() a server that cannot be reached ends the program after its error text;
// from then on it is reported and the windows stay open.
void installConnectHooks();
void startupFinished();

} // namespace AppStart
