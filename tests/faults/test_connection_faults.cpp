// The connection against a real server that drops, stops, comes back or never answers.
#include "TestDb.h"
#include "data/FieldText.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {
// A cluster of this test's own, so stopping it disturbs no other test.
class OwnCluster {
public:
    bool start() {
        if (!m_dir.isValid())
            return false;
        return run(QStringLiteral("start"));
    }
    bool stop() { return run(QStringLiteral("stop-server")); }
    bool restart() { return run(QStringLiteral("start-server")); }
    void destroy() { run(QStringLiteral("stop")); }
    QString connectionString(const QString& db) const {
        QFile f(m_dir.filePath(QStringLiteral("conn.txt")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).trimmed() + QStringLiteral(";Database=") + db;
    }

private:
    bool run(const QString& cmd) {
        QProcess p;
        p.start(QStringLiteral("bash"), {QStringLiteral(PG_CLUSTER_SCRIPT), cmd, m_dir.path()});
        p.waitForFinished(120000);
        if (p.exitCode() != 0)
            qWarning("%s", p.readAllStandardError().constData());
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    QTemporaryDir m_dir;
};

// Accepts connections and never says a word.
class SilentServer : public QThread {
public:
    quint16 port = 0;
    void run() override {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        port = server.serverPort();
        m_ready.release();
        QList<QTcpSocket*> held;
        while (!isInterruptionRequested()) {
            if (server.waitForNewConnection(100))
                held.append(server.nextPendingConnection());
        }
        qDeleteAll(held);
    }
    void waitReady() { m_ready.acquire(); }

private:
    QSemaphore m_ready;
};

bool terminateOthers(const QString& adminConn) {
    QSqlDatabase a = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("fault-admin"));
    a.setDatabaseName(adminConn);
    bool ok = a.open();
    if (ok) {
        QSqlQuery q(a);
        ok = q.exec(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = 'faults' AND "
                                   "pid <> pg_backend_pid()"));
    }
    a.close();
    a = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fault-admin"));
    return ok;
}
} // namespace

class TestConnectionFaults : public QObject {
    Q_OBJECT
    OwnCluster m_cluster;
    ServerConnection& sc = ServerConnection::instance();

    long exec(const QString& sql, QString* error = nullptr) {
        long n = 0;
        sc.Execute(sql, n, error);
        return n;
    }

private slots:
    void initTestCase() {
        TestDb::installRecordingHooks();
        QVERIFY(m_cluster.start());
        QSqlDatabase a = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("setup"));
        a.setDatabaseName(m_cluster.connectionString(QStringLiteral("postgres")));
        QVERIFY2(a.open(), qPrintable(a.lastError().text()));
        QSqlQuery(a).exec(QStringLiteral("CREATE DATABASE faults"));
        a.close();
        a = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    }
    void cleanupTestCase() {
        sc.Close();
        m_cluster.destroy();
    }
    void init() {
        TestDb::fatalErrors().clear();
        sc.configure({QStringLiteral("QODBC"), m_cluster.connectionString(QStringLiteral("faults")), 5});
        QVERIFY(ModSQL::ConnectServer());
        exec(QStringLiteral("DROP TABLE IF EXISTS t"));
        QCOMPARE(exec(QStringLiteral("CREATE TABLE t (v varchar(10))")), 0L);
    }

    void killedSessionIsFoundAndReopenedByTheNextStatement() {
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('a')")), 1L);
        QVERIFY(terminateOthers(m_cluster.connectionString(QStringLiteral("postgres"))));
        QString error;
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('lost')"), &error), 0L);
        QVERIFY(!error.isEmpty());
        QCOMPARE(sc.State(), 0); // no longer claims to be open
        // The next statement works again without restarting anything, and the failed one was not repeated.
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('b')")), 1L);
        long n = 0;
        Recordset rs = sc.Execute(QStringLiteral("SELECT v FROM t ORDER BY v"), n);
        QStringList values;
        for (; !rs.isEOF(); rs.MoveNext())
            values << FieldText(rs.Fields(0));
        QCOMPARE(values, (QStringList{"a", "b"}));
        QVERIFY(TestDb::fatalErrors().isEmpty());
    }

    void stoppedServerFailsEachStatementUntilItIsBack() {
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('a')")), 1L);
        QVERIFY(m_cluster.stop());
        QString error;
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('x')"), &error), 0L);
        QVERIFY(!error.isEmpty());
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('y')"), &error), 0L);
        QVERIFY(!ModSQL::ConnectServer());
        QCOMPARE(TestDb::fatalErrors().size(), 1);
        QVERIFY(m_cluster.restart());
        QCOMPARE(exec(QStringLiteral("INSERT INTO t VALUES('b')")), 1L);
        QVERIFY(ModSQL::ConnectServer());
        long n = 0;
        Recordset rs = sc.Execute(QStringLiteral("SELECT COUNT(*) FROM t"), n);
        QCOMPARE(FieldText(rs.Fields(0)), QStringLiteral("2"));
    }

    void silentServerEndsWithinTheLoginTimeout() {
        SilentServer silent;
        silent.start();
        silent.waitReady();
        QString conn = m_cluster.connectionString(QStringLiteral("faults"));
        conn.replace(QRegularExpression(QStringLiteral("Port=\\d+")), QStringLiteral("Port=%1").arg(silent.port));
        sc.configure({QStringLiteral("QODBC"), conn, 2});
        QElapsedTimer t;
        t.start();
        QVERIFY(!ModSQL::ConnectServer());
        const qint64 ms = t.elapsed();
        silent.requestInterruption();
        silent.wait();
        QCOMPARE(TestDb::fatalErrors().size(), 1);
        QVERIFY2(!TestDb::fatalErrors().first().isEmpty(), "the driver says why");
        QVERIFY2(ms < 30000, qPrintable(QStringLiteral("gave up after %1 ms").arg(ms)));
    }
};

QTEST_GUILESS_MAIN(TestConnectionFaults)
#include "test_connection_faults.moc"
