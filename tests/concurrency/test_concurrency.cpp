// Several copies of the program in separate processes on the same tables.
#include "TestDb.h"
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
};

QTEST_GUILESS_MAIN(TestConcurrency)
#include "test_concurrency.moc"
