#pragma once

#include "data/ServerConnection.h"

#include <QList>
#include <QString>
#include <QStringList>

// A fresh database per test case on either backend the tests cover: "sqlite" (a file in a
// temporary folder) and "postgres" (the private cluster reached through psqlODBC and QODBC).
// ServerConnection::instance() is pointed at it; a second, private connection serves to set up
// and inspect rows without touching the program's own.
namespace TestDb {

inline const QString ManagerPhone = QStringLiteral("01000000000");

// Adds the "backend" column with one row per backend; call from initTestCase_data().
void addBackendRows();
// Creates empty bown2 and bowndrugs tables and a control row ("BRENTOVAL", "9.00", message,
// ManagerPhone) on the backend, and configures ServerConnection (not yet open).
bool open(const QString& backend, QString* error = nullptr);
QString currentBackend();

// Runs a statement on the private connection; false with a warning when it fails.
bool exec(const QString& sql);
// Rows of a query on the private connection, every field through FieldText.
QList<QStringList> rows(const QString& sql);
QString scalar(const QString& sql);

// Inserts a catalogue row; empty texts are stored as NULL.
bool addDrug(const QString& name, const QString& price, const QString& disc, const QString& lastdate = {},
             const QString& stock = {}, const QString& demanded = {}, const QString& highest = {});
bool setControl(const QString& column, const QString& valueOrNull);

// The private connection's settings for the current database (for tests that open their own).
ConnectionSettings settings();
// The PostgreSQL cluster: its ODBC connection string for a database, and its state folder.
QString pgConnectionString(const QString& database);
QString pgStateDir();
QString pgDatabase();
// Ends every server session of the current test database except the private one; how many it
// ended, -1 when the query did not run.
int pgTerminateOthers();

// Drops what open() created; called at exit automatically.
void closeAll();

// Sets up the fatal-connection hook of ConnectServer to record instead of ending the process.
void installRecordingHooks();
QStringList& fatalErrors();

} // namespace TestDb

// In init(): a fresh database for the backend of the current global data row.
#define TESTDB_INIT()                                                                                     \
    do {                                                                                                  \
        QFETCH_GLOBAL(QString, backend);                                                                  \
        QString testDbError_;                                                                             \
        QVERIFY2(TestDb::open(backend, &testDbError_), qPrintable(testDbError_));                         \
    } while (0)
