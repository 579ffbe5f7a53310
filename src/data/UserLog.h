#pragma once

#include <QString>

// The program's log, one per user in the application-data folder: statements the server refused,
// connections that failed, warnings and unexpected ends. It is rotated (brentoval.log, then .1,
// .2 ...) and never holds a password: texts registered as secret are blotted out of every line.
namespace UserLog {

// Starts writing to folder/brentoval.log; the file is rotated once it passes maxBytes, keeping
// keep older files. Installs itself as Qt's message handler and notes unexpected ends.
void start(const QString& folder, qint64 maxBytes = 1024 * 1024, int keep = 3);
// One line, with the time, when the log is started.
void write(const QString& kind, const QString& text);
// A text that must never reach the log (the server's password); short texts are not blotted
// out, since they would mask ordinary words.
void addSecret(const QString& secret);
QString filePath();

} // namespace UserLog
