// The buying tables on SQLite and PostgreSQL: purchase orders kept from a period's demand, a kept
// one never changed, a second copy told, receipts shared and corrected, and a lost connection at
// every statement of making and receiving leaving nothing half made.
#include "BuyingFixture.h"
#include "TestDb.h"
#include "buying/BuyingStore.h"
#include "buying/BuyingTexts.h"
#include "buying/OrderAllotments.h"
#include "data/ModGFun.h"
#include "data/DrugNameKey.h"
#include "data/GroupTables.h"

#include <QDir>
#include <QProcess>
#include <QThread>
#include <QtTest>
#include <cstdio>

using namespace BuyingFixture;
using BuyingStore::Outcome;

namespace {
const QDateTime Now(QDate(2026, 12, 8), QTime(10, 0, 0));
const GroupDemand::Period Week{QDate(2026, 12, 1), QDate(2026, 12, 7), true};

// Two wholesalers; Panadol asked 3 + 2 + 4 by three orders (stock 2), Zyrtec 1, one open order.
void seed() {
    QVERIFY(TestDb::addDrug("Panadol", "20", "10", {}, "2") && TestDb::addDrug("Zyrtec", "30", "5"));
    QVERIFY(sentOrder("261203100000", "261203", "01011111111", {{"Panadol", "2", "20", "10"}}));
    QVERIFY(sentOrder("261201090000", "261201", "01022222222", {{"panadol", "3", "20", "10"}, {"Zyrtec", "1", "30", "5"}}));
    QVERIFY(sentOrder("261205090000", "261205", "01033333333", {{"PANADOL", "4", "20", "10"}}));
    QVERIFY(sentOrder("261206090000", "261206", "01044444444", {{"Panadol", "50", "20", "10"}}, false));
    QVERIFY(wholesaler(1, "الامل") && wholesaler(2, "الشفاء"));
    QVERIFY(offer(1, "Panadol", "12", "20261201") && offer(2, "Zyrtec", "6", "20261201") && offer(1, "Zyrtec", "6", "20261120"));
}

struct Made {
    PeriodDemand demand;
    OfferBook book;
    PurchasePlan plan;
    BuyingStore::Batch batch;
};
Made read() {
    Made m;
    m.demand = PeriodDemand::Read(Week);
    QString e;
    BuyingStore::ReadOfferBook(m.book, &e);
    m.plan = PurchasePlan::Make(m.demand, m.book);
    BuyingStore::ReadBatch(Week, m.batch, &e);
    return m;
}

QList<QStringList> everything() {
    QList<QStringList> all;
    for (const QString& t : BuyingStore::Tables())
        for (QStringList r : TestDb::rows(QStringLiteral("SELECT * FROM ") + t))
            all << (QStringList{t} + r);
    std::sort(all.begin(), all.end());
    return all;
}

void waitForFile(const QDir& dir, const QString& name) {
    for (QDeadlineTimer t(60000); !dir.exists(name) && !t.hasExpired();)
        QThread::msleep(5);
}

// Another copy of the program in a process of its own (DRIVER CONNECTION DIR BATCH ASSUMEDKEPT):
// keeps the week's orders under BATCH, stopping in its transaction before its write on the
// period's row until DIR/go exists, and before the statement after it until DIR/go2 exists.
int keepingCopy(const QStringList& a) {
    ServerConnection& server = ServerConnection::instance();
    server.configure({a[2], a[3], 10});
    const QDir dir(a[4]);
    Made m = read();
    int stage = 0;
    auto pause = [&](const QString& mark, const QString& go) {
        QFile(dir.filePath(a[5] + mark)).open(QIODevice::WriteOnly);
        waitForFile(dir, go);
    };
    server.beforeExecute = [&](const QString& sql) {
        if (stage == 0 && sql.contains(QLatin1String("grp_pobatches")) && ++stage)
            pause(QStringLiteral(".ready"), QStringLiteral("go"));
        else if (stage == 1 && ++stage)
            pause(QStringLiteral(".through"), QStringLiteral("go2"));
    };
    QString e;
    const Outcome o = BuyingStore::KeepOrders(m.plan, m.book, m.batch, a[6].toInt(), a[5], Now, &e);
    std::printf("%d\n", int(o));
    std::fprintf(stderr, "%s\n", qPrintable(e));
    return 0;
}
} // namespace

class TestBuyingStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase_data() { TestDb::addBackendRows(); }
    void init() {
        TESTDB_INIT();
        TestDb::installRecordingHooks();
        seed();
    }

    void keptOrdersPerWholesalerWithStockSubtracted() {
        Made m = read();
        QVERIFY(m.demand.ok);
        QString e;
        QCOMPARE(BuyingStore::KeepOrders(m.plan, m.book, m.batch, 0, "261208100000", Now, &e), Outcome::Saved);
        QCOMPARE(TestDb::rows("SELECT poid,wholesaler,periodfrom,periodto,total,status FROM grp_purchaseorders ORDER BY poid"),
                 (QList<QStringList>{{"261208100000/1", "1", "20261201", "20261207", "123.2", "kept"},
                                     {"261208100000/2", "2", "20261201", "20261207", "28.2", "kept"}}));
        QCOMPARE(TestDb::rows("SELECT poid,lineseq,drug,quantity,price,discount,linevalue,received FROM grp_purchaselines ORDER BY poid"),
                 (QList<QStringList>{{"261208100000/1", "1", "Panadol", "7", "20", "12", "123.2", "0"},
                                     {"261208100000/2", "1", "Zyrtec", "1", "30", "6", "28.2", "0"}}));
        QCOMPARE(TestDb::scalar("SELECT demand FROM grp_pobatches"), m.plan.fingerprint);
    }

    // A second copy that read the period before the first kept its orders is told; a replacement
    // leaves the old orders as they were, marked replaced; received orders are not replaced.
    void aKeptOrderIsNeverChanged() {
        Made first = read(), second = read();
        QString e;
        // A write the server refuses for another reason than another copy's batch is not taken.
        if (TestDb::currentBackend() == QLatin1String("postgres"))
            QCOMPARE(BuyingStore::KeepOrders(first.plan, first.book, first.batch, 0, QString(21, u'9'), Now, &e),
                     Outcome::Failed);
        QCOMPARE(BuyingStore::KeepOrders(first.plan, first.book, first.batch, 0, "B1", Now, &e), Outcome::Saved);
        const auto lines = TestDb::rows("SELECT * FROM grp_purchaselines ORDER BY poid");
        QCOMPARE(BuyingStore::KeepOrders(second.plan, second.book, second.batch, 0, "B2", Now, &e), Outcome::Taken);
        Made again = read();
        QCOMPARE(again.batch.batch, QStringLiteral("B1"));
        QCOMPARE(again.batch.demand, again.plan.fingerprint); // the same demand: the window can say so
        QVERIFY(again.plan.setQuantity(0, 9));
        QCOMPARE(BuyingStore::KeepOrders(again.plan, again.book, again.batch, 2, "B3", Now, &e), Outcome::Saved);
        QCOMPARE(BuyingStore::KeepOrders(second.plan, second.book, first.batch, 2, "B4", Now, &e), Outcome::Taken);
        QCOMPARE(TestDb::rows("SELECT batch,status,replacedby FROM grp_purchaseorders ORDER BY poid"),
                 (QList<QStringList>{{"B1", "replaced", "B3"}, {"B1", "replaced", "B3"}, {"B3", "kept", ""}, {"B3", "kept", ""}}));
        QCOMPARE(TestDb::rows("SELECT * FROM grp_purchaselines WHERE poid LIKE 'B1%' ORDER BY poid"), lines);

        std::vector<BuyingStore::KeptOrder> kept;
        QVERIFY(BuyingStore::ReadOrders("B3", kept, &e));
        const BuyingStore::KeptLine line = kept[0].lines[0];
        QCOMPARE(BuyingStore::Receive(line, 5, again.demand.shares(DrugNameKey(line.drug), 5, DeliveryShare::Rule::EarliestFirst),
                                      DeliveryShare::Rule::EarliestFirst, Now, &e),
                 Outcome::Saved);
        Made late = read();
        QCOMPARE(BuyingStore::KeepOrders(late.plan, late.book, late.batch, 2, "B5", Now, &e), Outcome::HasReceipts);
        QCOMPARE(TestDb::scalar("SELECT COUNT(*) FROM grp_purchaseorders WHERE status = 'kept'"), QStringLiteral("2"));
    }

    // Received, received again, corrected, over-received: the shares always add up to what
    // arrived (up to what was asked), earliest sent first.
    void receivingAndCorrectingRecomputes_data() {
        QTest::addColumn<QList<double>>("receipts");
        QTest::addColumn<QStringList>("shares"); // orderid=allotted, earliest first, after the last receipt
        QTest::newRow("nothing") << QList<double>{0} << QStringList{"261201090000=0", "261203100000=0", "261205090000=0"};
        QTest::newRow("short") << QList<double>{4} << QStringList{"261201090000=3", "261203100000=1", "261205090000=0"};
        QTest::newRow("twice") << QList<double>{1, 6} << QStringList{"261201090000=3", "261203100000=2", "261205090000=1"};
        QTest::newRow("corrected down") << QList<double>{7, 1} << QStringList{"261201090000=1", "261203100000=0", "261205090000=0"};
        QTest::newRow("more than asked") << QList<double>{20} << QStringList{"261201090000=3", "261203100000=2", "261205090000=4"};
    }
    void receivingAndCorrectingRecomputes() {
        QFETCH(QList<double>, receipts);
        QFETCH(QStringList, shares);
        Made m = read();
        QString e;
        QCOMPARE(BuyingStore::KeepOrders(m.plan, m.book, m.batch, 0, "B1", Now, &e), Outcome::Saved);
        for (double r : receipts) {
            std::vector<BuyingStore::KeptOrder> kept;
            QVERIFY(BuyingStore::ReadOrders("B1", kept, &e));
            const BuyingStore::KeptLine line = kept[0].lines[0];
            QCOMPARE(BuyingStore::Receive(line, r, m.demand.shares(DrugNameKey(line.drug), r, DeliveryShare::Rule::EarliestFirst),
                                          DeliveryShare::Rule::EarliestFirst, Now, &e),
                     Outcome::Saved);
            // A copy still holding the earlier figure is told.
            if (r != line.received)
                QCOMPARE(BuyingStore::Receive(line, r + 1, {}, DeliveryShare::Rule::EarliestFirst, Now, &e), Outcome::Taken);
        }
        auto text = [](const std::vector<BuyingStore::Allotment>& got) {
            QStringList out;
            for (const auto& a : got)
                out << a.orderid + u'=' + QString::number(a.allotted);
            out.sort();
            return out;
        };
        std::vector<BuyingStore::Allotment> got;
        QVERIFY(BuyingStore::ReadShares("B1/1", 1, got, &e));
        QCOMPARE(text(got), shares);
        // Many orders' rows read together, the orders on both sides of a statement's bound.
        QStringList ids{"261201090000"};
        for (int i = 0; i < 500; ++i)
            ids << QString::number(i);
        QVERIFY(BuyingStore::ReadAllotments(ids << "261203100000" << "261205090000", got, &e));
        QCOMPARE(text(got), shares);
        QCOMPARE(TestDb::scalar("SELECT received FROM grp_purchaselines WHERE poid = 'B1/1'"),
                 QString::number(receipts.last()));
        QCOMPARE(TestDb::scalar("SELECT COUNT(*) FROM grp_receipts"), QString::number(receipts.size()));
        // The pick list's figures of one order: asked, allotted, and the value delivered; a drug
        // not received yet goes as asked.
        QVERIFY(BuyingStore::ReadAllotments({"261201090000"}, got, &e));
        const OrderAllotments pick = OrderAllotments::Of({{"panadol", "3", "20", "10"}, {"Zyrtec", "1", "30", "5"}}, got);
        const int allotted = shares[0].section(u'=', 1).toInt();
        QCOMPARE(pick.lines[0].allotted, allotted);
        QCOMPARE(pick.lines[1].allotted, -1);
        QCOMPARE(pick.delivered.cash, ModGFun::RoundHalfEven(allotted * 18.0 + 28.5, 1));
    }

    // The connection is lost, or its session killed, before each statement of keeping and of
    // receiving in turn: the tables hold all of it or none of it, and the outcome said is the one
    // the server holds.
    void aLostConnectionLeavesNothingHalfMade_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("fault");
        for (const char* a : {"keep", "replace", "receive"})
            for (const char* f : {"before", "killed"})
                QTest::addRow("%s, %s", a, f) << QString::fromLatin1(a) << QString::fromLatin1(f);
    }
    void aLostConnectionLeavesNothingHalfMade() {
        QFETCH(QString, action);
        QFETCH(QString, fault);
        if (fault == QLatin1String("killed") && TestDb::currentBackend() != QLatin1String("postgres"))
            QSKIP("only a server has sessions to kill");
        ServerConnection& server = ServerConnection::instance();
        int statements = 0;
        for (int k = 0; k == 0 || k <= statements; ++k) {
            init();
            QString e;
            Made m = read();
            int kept = 0;
            if (action != QLatin1String("keep")) {
                QCOMPARE(BuyingStore::KeepOrders(m.plan, m.book, m.batch, 0, "B1", Now, &e), Outcome::Saved);
                m = read();
                kept = 2;
            }
            std::vector<BuyingStore::KeptOrder> orders;
            QVERIFY(BuyingStore::ReadOrders("B1", orders, &e) || action == QLatin1String("keep"));
            const auto before = everything();
            int n = 0;
            server.beforeExecute = [&](const QString&) {
                if (++n == k && fault == QLatin1String("killed"))
                    QCOMPARE(TestDb::pgTerminateOthers(), 1);
                else if (n == k)
                    server.Close();
            };
            Outcome o;
            if (action == QLatin1String("receive")) {
                const auto& line = orders[0].lines[0];
                o = BuyingStore::Receive(line, 4, m.demand.shares(DrugNameKey(line.drug), 4, DeliveryShare::Rule::Proportional),
                                         DeliveryShare::Rule::Proportional, Now, &e);
            } else {
                o = BuyingStore::KeepOrders(m.plan, m.book, m.batch, kept, "B2", Now, &e);
            }
            server.beforeExecute = nullptr;
            if (k == 0)
                statements = n;
            server.Open(nullptr);
            const auto after = everything();
            if (o == Outcome::Saved) {
                QVERIFY(after != before);
                if (action == QLatin1String("receive"))
                    QCOMPARE(TestDb::scalar("SELECT SUM(allotted) FROM grp_allotments"), QStringLiteral("4"));
                else
                    QCOMPARE(TestDb::scalar("SELECT COUNT(*) FROM grp_purchaseorders WHERE batch = 'B2'"), QStringLiteral("2"));
            } else {
                QVERIFY2(o == Outcome::Failed || o == Outcome::Unknown, qPrintable(QString::number(int(o))));
                if (o == Outcome::Failed)
                    QCOMPARE(after, before);
            }
            QVERIFY2(k == 0 ? o == Outcome::Saved : true, qPrintable(e));
        }
        QVERIFY(statements >= 4);
    }

    // Two copies, each in its own process, keep the same period at once: the second waits on the
    // first's write to the period's row and is told, whether no orders were kept before or both
    // replace the same ones.
    void twoCopiesAtOnceOneIsTold_data() {
        QTest::addColumn<bool>("keptBefore");
        QTest::newRow("none kept") << false;
        QTest::newRow("both replace B1") << true;
    }
    void twoCopiesAtOnceOneIsTold() {
        QFETCH(bool, keptBefore);
        if (TestDb::currentBackend() != QLatin1String("postgres"))
            QSKIP("copies on other machines share a server");
        QString e;
        if (keptBefore) {
            Made m = read();
            QCOMPARE(BuyingStore::KeepOrders(m.plan, m.book, m.batch, 0, "B1", Now, &e), Outcome::Saved);
        }
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const ConnectionSettings s = TestDb::settings();
        const QStringList batches{"C1", "C2"};
        std::vector<std::unique_ptr<QProcess>> copies;
        for (const QString& b : batches) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->start(QCoreApplication::applicationFilePath(),
                                 {"--keeping-copy", s.qtDriver, s.connectionString, dir.path(), b, keptBefore ? "2" : "0"});
        }
        for (const QString& b : batches)
            waitForFile(dir, b + ".ready");
        QFile(dir.filePath("go")).open(QIODevice::WriteOnly);
        // One is through its write and holds the row; the other waits on it.
        QTRY_VERIFY_WITH_TIMEOUT(dir.exists("C1.through") != dir.exists("C2.through") &&
                                     TestDb::scalar("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = "
                                                    "current_database() AND wait_event_type = 'Lock'") == "1",
                                 30000);
        QFile(dir.filePath("go2")).open(QIODevice::WriteOnly);
        QMap<Outcome, QString> told; // outcome -> batch
        for (size_t i = 0; i < copies.size(); ++i) {
            QVERIFY(copies[i]->waitForFinished(60000) && copies[i]->exitCode() == 0);
            qInfo("%s: %s", qPrintable(batches[int(i)]), copies[i]->readAllStandardError().constData());
            told.insert(Outcome(copies[i]->readAllStandardOutput().trimmed().toInt()), batches[int(i)]);
        }
        QCOMPARE(told.keys(), (QList<Outcome>{Outcome::Saved, Outcome::Taken}));
        const QString winner = told[Outcome::Saved];
        QCOMPARE(TestDb::rows("SELECT batch FROM grp_pobatches"), (QList<QStringList>{{winner}}));
        QList<QStringList> orders{{winner, "kept", ""}, {winner, "kept", ""}};
        if (keptBefore)
            orders = QList<QStringList>{{"B1", "replaced", winner}, {"B1", "replaced", winner}} + orders;
        QCOMPARE(TestDb::rows("SELECT batch,status,replacedby FROM grp_purchaseorders ORDER BY poid"), orders);
        QCOMPARE(TestDb::scalar("SELECT COUNT(*) FROM grp_purchaselines WHERE poid LIKE 'C%'"), QStringLiteral("2"));
    }

    void missingTablesAreNamed() {
        QCOMPARE(BuyingStore::CheckTables(nullptr), GroupTables::Presence::Present);
        QVERIFY(TestDb::exec("DROP TABLE grp_allotments"));
        ServerConnection::instance().Close();
        QCOMPARE(BuyingStore::CheckTables(nullptr), GroupTables::Presence::Missing);
        QVERIFY(GroupTables::MissingMessage().contains(GroupTables::ServerScript));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("--keeping-copy"))
        return keepingCopy(app.arguments());
    TestBuyingStore t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_buyingstore.moc"
