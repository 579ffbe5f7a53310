// The connection against a real server that drops, stops, comes back or never answers.
#include "OwnCluster.h"
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
        QCOMPARE(m_cluster.terminateSessionsOf(QStringLiteral("faults")), 1);
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
        conn.replace(QRegularExpression(QStringLiteral("Port=\\d+")),
                     QStringLiteral("Port=%1").arg(silent.port));
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
