#include "TestDb.h"

#include "data/EmbeddedDatabase.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/PendingOrder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace TestDb {

namespace {
const QString kPrivate = QStringLiteral("testdb-private");
const QString kAdmin = QStringLiteral("testdb-admin");

struct State {
    QString backend;
    std::unique_ptr<QTemporaryDir> tmp;
    std::unique_ptr<QTemporaryDir> local; // the copy's own files beside the program
    QString sqlitePath;
    QString pgDb;
    ConnectionSettings settings;
    int counter = 0;
    QString privatePid;
    bool cleanupRegistered = false;
};
State& st() {
    static State s;
    return s;
}

QString readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

void dropPrivate() {
    if (QSqlDatabase::contains(kPrivate)) {
        {
            QSqlDatabase d = QSqlDatabase::database(kPrivate, false);
            d.close();
        }
        QSqlDatabase::removeDatabase(kPrivate);
    }
}

bool openAdmin(QString* error) {
    if (QSqlDatabase::contains(kAdmin) && QSqlDatabase::database(kAdmin, false).isOpen())
        return true;
    QSqlDatabase a = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kAdmin);
    a.setDatabaseName(pgConnectionString(QStringLiteral("postgres")));
    if (!a.open()) {
        if (error)
            *error = QStringLiteral("PostgreSQL test cluster not reachable: ") + a.lastError().text();
        return false;
    }
    return true;
}
} // namespace

QString pgStateDir() {
    const QString env = qEnvironmentVariable("BRENTOVAL_PG_STATE");
    return env;
}

QString pgConnectionString(const QString& database) {
    return readFile(pgStateDir() + QStringLiteral("/conn.txt")) + QStringLiteral(";Database=") + database;
}

QString pgDatabase() { return st().pgDb; }

void addBackendRows() {
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgres") << QStringLiteral("postgres");
}

QString currentBackend() { return st().backend; }

static bool createTables(QSqlDatabase& db, const QString& dialect, QString* error) {
    QSqlQuery q(db);
    const QStringList statements = EmbeddedDatabase::schemaStatements(dialect) +
                                   EmbeddedDatabase::schemaStatements(QStringLiteral("group-") + dialect);
    for (const QString& stmt : statements)
        q.exec(QStringLiteral("DROP TABLE IF EXISTS ") + EmbeddedDatabase::tableOf(stmt));
    for (const QString& stmt : statements + EmbeddedDatabase::schemaStatements(QStringLiteral("keys-") + dialect)) {
        if (!q.exec(stmt)) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    }
    if (!q.exec(QStringLiteral("INSERT INTO smartertable (appname,appversion,appmsg,appadminpassword) VALUES("
                               "'BRENTOVAL','9.00','%1','%2')")
                    .arg(QStringLiteral("رسالة الادارة للاختبار"), ManagerPhone))) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    return true;
}

bool open(const QString& backend, QString* error) {
    State& s = st();
    if (!s.cleanupRegistered) {
        s.cleanupRegistered = true;
        qAddPostRoutine(closeAll);
    }
    ServerConnection::instance().Close();
    dropPrivate();
    s.backend = backend;
    ++s.counter;
    if (backend == QLatin1String("sqlite")) {
        s.tmp = std::make_unique<QTemporaryDir>();
        s.sqlitePath = s.tmp->filePath(QStringLiteral("brentoval.db"));
        s.settings = {QStringLiteral("QSQLITE"), s.sqlitePath, 15};
    } else if (backend == QLatin1String("postgres")) {
        if (pgStateDir().isEmpty()) {
            if (error)
                *error = QStringLiteral("BRENTOVAL_PG_STATE is not set: the PostgreSQL fixture did not run");
            return false;
        }
        if (!openAdmin(error))
            return false;
        if (s.pgDb.isEmpty()) {
            s.pgDb = QStringLiteral("t_%1_%2")
                         .arg(QCoreApplication::applicationPid())
                         .arg(QRandomGenerator::global()->bounded(1000000));
            QSqlQuery q(QSqlDatabase::database(kAdmin));
            if (!q.exec(QStringLiteral("CREATE DATABASE ") + s.pgDb + QStringLiteral(" ENCODING 'UTF8'"))) {
                if (error)
                    *error = q.lastError().text();
                s.pgDb.clear();
                return false;
            }
        }
        s.settings = {QStringLiteral("QODBC"), pgConnectionString(s.pgDb), 10};
    } else {
        if (error)
            *error = QStringLiteral("unknown backend ") + backend;
        return false;
    }
    QSqlDatabase d = QSqlDatabase::addDatabase(s.settings.qtDriver, kPrivate);
    d.setDatabaseName(s.settings.connectionString);
    if (s.settings.qtDriver == QLatin1String("QSQLITE"))
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!d.open()) {
        if (error)
            *error = d.lastError().text();
        return false;
    }
    if (s.settings.qtDriver == QLatin1String("QODBC")) {
        QSqlQuery pid(d);
        if (pid.exec(QStringLiteral("SELECT pg_backend_pid()")) && pid.next())
            s.privatePid = pid.value(0).toString();
    }
    if (!createTables(d, backend == QLatin1String("sqlite") ? QStringLiteral("sqlite") : QStringLiteral("postgresql"),
                      error))
        return false;
    ServerConnection::instance().configure(s.settings);
    ServerConnection::instance().clearExecutedStatements();
    s.local = std::make_unique<QTemporaryDir>();
    PendingOrder::setFolder(s.local->path());
    return true;
}

ConnectionSettings settings() { return st().settings; }

bool exec(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(kPrivate));
    if (!q.exec(sql)) {
        qWarning("test statement failed: %s\n  %s", qPrintable(q.lastError().text()), qPrintable(sql));
        return false;
    }
    return true;
}

QList<QStringList> rows(const QString& sql) {
    QList<QStringList> out;
    QSqlQuery q(QSqlDatabase::database(kPrivate));
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        qWarning("test query failed: %s\n  %s", qPrintable(q.lastError().text()), qPrintable(sql));
        return out;
    }
    while (q.next()) {
        QStringList r;
        for (int i = 0; i < q.record().count(); ++i)
            r.append(FieldText(q.value(i)));
        out.append(r);
    }
    return out;
}

QString scalar(const QString& sql) {
    const auto r = rows(sql);
    return r.isEmpty() || r.first().isEmpty() ? QString() : r.first().first();
}

static QString litOrNull(const QString& v) { return v.isEmpty() ? QStringLiteral("NULL") : ModSQL::SqlQuote(v); }

bool addDrug(const QString& name, const QString& price, const QString& disc, const QString& lastdate,
             const QString& stock, const QString& demanded, const QString& highest) {
    return exec(QStringLiteral("INSERT INTO bowndrugs (drug,price,disc,lastdate,stock,demanded,highistdiskout) VALUES(") +
                litOrNull(name) + u',' + litOrNull(price) + u',' + litOrNull(disc) + u',' + litOrNull(lastdate) + u',' +
                litOrNull(stock) + u',' + litOrNull(demanded) + u',' + litOrNull(highest) + u')');
}

bool setControl(const QString& column, const QString& valueOrNull) {
    return exec(QStringLiteral("UPDATE smartertable SET ") + column + QStringLiteral(" = ") +
                (valueOrNull.isNull() ? QStringLiteral("NULL") : ModSQL::SqlQuote(valueOrNull)));
}

int pgTerminateOthers() {
    QString error;
    if (st().pgDb.isEmpty() || !openAdmin(&error))
        return -1;
    QSqlQuery q(QSqlDatabase::database(kAdmin));
    // The sessions are chosen first: a filter beside the kill could be applied after it.
    if (!q.exec(QStringLiteral("WITH s AS MATERIALIZED (SELECT pid FROM pg_stat_activity WHERE datname = '%1' AND "
                               "pid <> pg_backend_pid() AND pid <> %2) SELECT count(*) FROM s WHERE pg_terminate_backend(pid)")
                    .arg(st().pgDb, st().privatePid.isEmpty() ? QStringLiteral("0") : st().privatePid)) ||
        !q.next())
        return -1;
    return q.value(0).toInt();
}

void closeAll() {
    State& s = st();
    ServerConnection::instance().Close();
    dropPrivate();
    if (!s.pgDb.isEmpty() && QSqlDatabase::contains(kAdmin)) {
        {
            QSqlDatabase a = QSqlDatabase::database(kAdmin, false);
            if (a.isOpen()) {
                QSqlQuery q(a);
                q.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '%1' "
                                      "AND pid <> pg_backend_pid()")
                           .arg(s.pgDb));
                q.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + s.pgDb);
            }
            a.close();
        }
        s.pgDb.clear();
    }
    if (QSqlDatabase::contains(kAdmin))
        QSqlDatabase::removeDatabase(kAdmin);
    s.tmp.reset();
}

QStringList& fatalErrors() {
    static QStringList errors;
    return errors;
}

void installRecordingHooks() {
    ModSQL::ConnectHooks h;
    h.fatal = [](const QString& e) { fatalErrors().append(e); };
    ModSQL::setConnectHooks(h);
}

} // namespace TestDb
