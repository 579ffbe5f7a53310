// Several copies of the program in separate processes on the same tables.
#include "TestDb.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class TestConcurrency : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data() { TestDb::addBackendRows(); }
    void init() { TESTDB_INIT(); }

    void pharmacistsAndManagerKeepEveryOrderWhole() {
        for (int i = 0; i < 40; ++i)
            QVERIFY(TestDb::addDrug(QStringLiteral("Drug %1").arg(i), QStringLiteral("10"), QStringLiteral("5")));
        // Orders old enough for the manager's purge.
        for (int i = 0; i < 20; ++i)
            QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid,date) VALUES('old%1','261001')").arg(i)));
        const ConnectionSettings s = TestDb::settings();
        const int perProcess = 1000;
        QList<QProcess*> procs;
        const QStringList roles = {"pharmacist", "pharmacist", "pharmacist", "manager"};
        for (int i = 0; i < roles.size(); ++i) {
            auto* p = new QProcess(this);
            p->start(QStringLiteral(WORKER_PATH),
                     {s.qtDriver, s.connectionString, roles.at(i), QString::number(i + 1), QString::number(perProcess)});
            procs << p;
        }
        QMap<QString, QString> sent;
        int ops = 0;
        int faults = 0;
        for (QProcess* p : procs) {
            QVERIFY(p->waitForFinished(600000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit); // no copy crashed
            QCOMPARE(p->exitCode(), 0);
            for (const QString& line : QString::fromUtf8(p->readAllStandardOutput()).split(u'\n')) {
                const QStringList f = line.split(u' ');
                if (f.value(0) == QLatin1String("sent") && f.size() == 3)
                    sent.insert(f.at(1), QString::fromUtf8(QByteArray::fromBase64(f.at(2).toLatin1())));
                else if (f.value(0) == QLatin1String("ops") && f.size() == 4) {
                    ops += f.at(1).toInt();
                    faults += f.at(3).toInt();
                }
            }
        }
        qInfo("operations run: %d, faults held: %d, orders sent: %lld", ops, faults, qlonglong(sent.size()));
        QVERIFY(ops >= roles.size() * perProcess);
        QVERIFY(!sent.isEmpty());
        const auto orders = TestDb::rows(QStringLiteral("SELECT drug, orderid, submitted, date FROM bown2"));
        int whole = 0;
        for (const QStringList& o : orders) {
            const QString text = o.at(0);
            if (text.isEmpty())
                continue;
            QCOMPARE(text.count(u'^'), OrderLines::Slots);
            QCOMPARE(OrderLines::Encode(OrderLines::Decode(text)), text);
            ++whole;
        }
        QVERIFY(whole > 0);
        for (auto it = sent.cbegin(); it != sent.cend(); ++it) {
            const auto row = TestDb::rows(QStringLiteral("SELECT drug, submitted FROM bown2 WHERE orderid='%1'").arg(it.key()));
            QCOMPARE(row.size(), 1);
            QCOMPARE(row.first().at(1), QStringLiteral("101"));
            QCOMPARE(row.first().at(0), it.value());
        }
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2 WHERE date < 261018")), QStringLiteral("0"));
    }

    // Two pharmacies, each its own process, make orders at the same moment with their clocks stopped
    // at the same second: every order gets an id of its own, on a server whose bown2 has the key and
    // on one without it, and each pane shows and fills only its own pharmacy's orders.
    void sameSecondTwoPharmaciesNeverShareAnId_data() {
        QTest::addColumn<bool>("key");
        QTest::newRow("key") << true;
        QTest::newRow("no key") << false;
    }
    void sameSecondTwoPharmaciesNeverShareAnId() {
        QFETCH(bool, key);
        if (!key)
            QVERIFY(TestDb::exec(QStringLiteral("DROP INDEX bown2_orderid")));
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QStringLiteral("0"));
        const ConnectionSettings s = TestDb::settings();
        const QStringList tels = {QStringLiteral("01011111111"), QStringLiteral("01022222222")};
        const int perPharmacy = 15;
        const QString start = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
        QList<QProcess*> procs;
        for (const QString& tel : tels) {
            auto* p = new QProcess(this);
            p->start(QStringLiteral(WORKER_PATH),
                     {s.qtDriver, s.connectionString, QStringLiteral("same-second"), tel, QString::number(perPharmacy), start});
            procs << p;
        }
        for (int i = 0; i < procs.size(); ++i) {
            QProcess* p = procs.at(i);
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitCode(), 0);
            const QByteArray told = p->readAllStandardError();
            QVERIFY2(told.isEmpty(), told.constData()); // every action went through untold
            int shown = 0;
            // trimmed: a Windows worker ends its lines with a carriage return too
            for (const QString& line : QString::fromUtf8(p->readAllStandardOutput()).split(u'\n')) {
                const QStringList f = line.trimmed().split(u' ');
                if (f.value(0) != QLatin1String("shown"))
                    continue;
                ++shown;
                QCOMPARE(f.value(2), tels.at(i));
                QCOMPARE(TestDb::rows(QStringLiteral("SELECT tel FROM bown2 WHERE orderid = '%1'").arg(f.value(1))),
                         (QList<QStringList>{{tels.at(i)}}));
            }
            QCOMPARE(shown, perPharmacy);
        }
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT orderid FROM bown2 GROUP BY orderid "
                                               "HAVING COUNT(*) > 1) d")),
                 QStringLiteral("0"));
        for (const QString& tel : tels) {
            const auto rows = TestDb::rows(QStringLiteral("SELECT drug FROM bown2 WHERE tel = '%1'").arg(tel));
            QCOMPARE(rows.size(), perPharmacy);
            for (const QStringList& r : rows)
                QCOMPARE(OrderLines::Decode(r.value(0)).at(0).drug, QStringLiteral("Drug ") + tel);
        }
    }

    // A dialog of the program opens and closes the embedded database's files (to show their type)
    // while the program holds the database open; a second copy then comes and goes. The first
    // copy still reads the database whole, and the second's row.
    void theEmbeddedDatabaseKeepsItsLockThroughTheProgramsOwnDialogs() {
        if (TestDb::currentBackend() != QLatin1String("sqlite"))
            QSKIP("a file beside the program");
        ServerConnection& server = ServerConnection::instance();
        QVERIFY(ModSQL::ConnectServer());
        long n = 0;
        server.Execute(QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('a','01')"), n);
        QCOMPARE(n, 1L);
        const QString db = TestDb::settings().connectionString;
        for (const QString& file : {db, db + QStringLiteral("-wal"), db + QStringLiteral("-shm")}) {
            QFile f(file);
            if (f.open(QIODevice::ReadOnly)) {
                f.read(512);
                f.close();
            }
        }
        QProcess second;
        second.start(QStringLiteral(WORKER_PATH), {QStringLiteral("QSQLITE"), db, QStringLiteral("one-order"), QStringLiteral("2"), QStringLiteral("1")});
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(second.exitCode(), 0);
        QString error;
        const Recordset rs = server.Execute(QStringLiteral("SELECT orderid FROM bown2 ORDER BY orderid"), n, &error);
        QVERIFY2(n == -1, qPrintable(error));
        QCOMPARE(rs.RecordCount(), 2);
        server.Execute(QStringLiteral("INSERT INTO bown2 (orderid,tel) VALUES('c','01')"), n, &error);
        QVERIFY2(n == 1, qPrintable(error));
        QCOMPARE(TestDb::scalar(QStringLiteral("SELECT COUNT(*) FROM bown2")), QStringLiteral("3"));
    }
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "test_concurrency.moc"
