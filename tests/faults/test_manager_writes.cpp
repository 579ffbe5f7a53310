// The manager's writes under a fault at each of their statements, through the one fault sweep: the
// outcome told matches what the server holds, "not saved" only when nothing was, a reply lost while
// the server goes on is settled by reading back, and a retry doubles nothing.
#include "../buying/BuyingFixture.h"
#include "FaultSweep.h"
#include "TestDb.h"
#include "buying/BuyingStore.h"
#include "catalogue/DrugsCatalogue.h"
#include "collection/BuyCollectCore.h"
#include "preparation/PickList.h"
#include "data/ModSQL.h"
#include "data/DrugNameKey.h"
#include "data/WriteRoad.h"

#include <QtTest>

using WriteRoad::Outcome;

class TestManagerWrites : public QObject {
    Q_OBJECT

    struct Write {
        QString state;                          // what the write changes, as the server holds it
        std::function<WriteRoad::Result()> run;
        bool readsBack = false;                 // a lost reply is settled while the server answers
        bool retrySafe = true;                  // the manager may try again after "unknown"
        std::function<void()> prepare = {};     // what the write reads or needs first, unarmed
    };

    // The buying writes act on what was read before the fault is armed, as the window's do.
    PurchasePlan m_plan;
    PeriodDemand m_demand;
    OfferBook m_book;
    std::vector<BuyingStore::KeptOrder> m_kept;
    const QDateTime m_at{QDate(2026, 12, 9), QTime(9, 0)};

    void readPlan() {
        QString e;
        m_demand = BuyingStore::ReadOpenDemand({QDate(2026, 11, 1), QDate(2026, 12, 31), true});
        QVERIFY(BuyingStore::ReadOfferBook(m_book, &e));
        m_plan = PurchasePlan::Make(m_demand, m_book);
    }
    // A plan kept and its orders read, for the writes that follow a keep.
    void keptPlan() {
        readPlan();
        QString e;
        QVERIFY(BuyingStore::KeepPlan(m_plan, m_demand, m_book, DeliveryShare::Rule::EarliestFirst, m_at.addSecs(-60), nullptr).saved());
        QVERIFY(BuyingStore::ReadOrders(m_kept, false, &e) && !m_kept.empty());
    }

    Write write(const QString& action) {
        if (action == QLatin1String("purge"))
            return {QStringLiteral("SELECT orderid FROM bown2 ORDER BY orderid"), [] { // as the window does: the kept orders counted, then the purge
                        const BuyCollect::Kept k = BuyCollect::CountKept("260101", BuyingStore::UndeliveredOrders(), {"grp_orderlines"});
                        return k.read.saved() ? BuyCollect::Purge("260101", k.orders ? BuyingStore::UndeliveredOrders() : QString()) : k.read;
                    },
                    true};
        if (action == QLatin1String("wholesaler"))
            return {QStringLiteral("SELECT wholesaler, name, phone FROM grp_wholesalers ORDER BY wholesaler"),
                    [] {
                        Wholesaler w{0, QStringLiteral("النيل"), QStringLiteral("0500"), QStringLiteral("طنطا")};
                        return BuyingStore::AddWholesaler(w);
                    },
                    true};
        if (action == QLatin1String("offers")) // replacing that day's Kiwi, in two spellings, and adding Lime
            return {QStringLiteral("SELECT wholesaler, drug, discount, offerdate FROM grp_offers ORDER BY wholesaler, "
                                   "offerdate, drug, discount"),
                    [] {
                        return BuyingStore::AddOffers({{1, QStringLiteral("Kiwi"), 12.5, QStringLiteral("20261201")},
                                                       {1, QStringLiteral("Lime"), 7, QStringLiteral("20261201")}});
                    },
                    true, true, [] {
                        QVERIFY(BuyingFixture::offer(1, "KIWI", "11", "20261201") && BuyingFixture::offer(1, "Kiwi", "9", "20261130"));
                    }};
        if (action == QLatin1String("keep"))
            return {QStringLiteral("SELECT o.orderid, o.drugkey, o.onorder, o.allotted, o.poid, (SELECT COUNT(*) FROM "
                                   "grp_purchaselines), (SELECT COUNT(*) FROM grp_stockmoves) FROM grp_orderlines o "
                                   "ORDER BY o.orderid, o.drugkey"),
                    [this] {
                        return BuyingStore::KeepPlan(m_plan, m_demand, m_book, DeliveryShare::Rule::EarliestFirst, m_at, nullptr);
                    },
                    true, true, [this] { readPlan(); }};
        if (action == QLatin1String("receive"))
            return {QStringLiteral("SELECT l.poid, l.lineseq, l.received, (SELECT COUNT(*) FROM grp_receipts), (SELECT "
                                   "SUM(allotted) FROM grp_orderlines), (SELECT COUNT(*) FROM grp_stockmoves), (SELECT "
                                   "COUNT(*) FROM grp_stock) FROM grp_purchaselines l ORDER BY l.poid, l.lineseq"),
                    [this] {
                        // More than asked: the surplus goes to the group's stock too.
                        const BuyingStore::KeptLine& l = m_kept.front().lines.front();
                        return BuyingStore::Receive(l, l.quantity + 1, DeliveryShare::Rule::Proportional, m_at);
                    },
                    true, true, [this] { keptPlan(); }};
        if (action == QLatin1String("close"))
            return {QStringLiteral("SELECT p.poid, p.status, (SELECT SUM(cancelled) FROM grp_orderlines), (SELECT "
                                   "COUNT(*) FROM grp_orderlines WHERE poid IS NULL) FROM grp_purchaseorders p ORDER BY p.poid"),
                    [this] { return BuyingStore::Close(m_kept.front(), true); },
                    true, true, [this] { keptPlan(); }};
        if (action == QLatin1String("count"))
            return {QStringLiteral("SELECT drugkey, quantity, (SELECT COUNT(*) FROM grp_stockmoves) FROM grp_stock ORDER BY drugkey"),
                    [this] { return BuyingStore::CountStock({DrugNameKey(QStringLiteral("Kiwi")), QStringLiteral("Kiwi"), 2, true}, 4, m_at); },
                    true, true, [this] {
                        QVERIFY(BuyingStore::CountStock({DrugNameKey(QStringLiteral("Kiwi")), QStringLiteral("Kiwi"), 0, false}, 2, m_at.addSecs(-60)).saved());
                    }};
        if (action == QLatin1String("catalogue"))
            return {QStringLiteral("SELECT drug, disc, lastdate FROM bowndrugs ORDER BY drug"), [] {
                        return WriteRoad::Run(*DrugsCatalogue::DiscountStatement(QStringLiteral("14"), QStringLiteral("Kiwi"),
                                                                                 QDate(2026, 12, 9)));
                    }};
        // Marked printed: one row per order, however often it is tried.
        return {QStringLiteral("SELECT orderid FROM grp_printed ORDER BY orderid"), [] {
                    PickList::Page page;
                    page.orderId = QStringLiteral("261201000000");
                    QString error;
                    return PickList::MarkPrinted({page}, QDateTime(QDate(2026, 12, 9), QTime(9, 0)), &error)
                               ? WriteRoad::Result{Outcome::Saved, 1, {}}
                               : WriteRoad::Result{Outcome::Unknown, 0, error};
                }};
    }

    void seed() {
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid,date,tel) VALUES ('250101000000',250101,'01')")));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO bown2 (orderid,date,tel) VALUES ('261201000000',261201,'01')")));
        QVERIFY(TestDb::exec(QStringLiteral("INSERT INTO grp_wholesalers (wholesaler,name,phone,district) VALUES (1,'دلتا','0400','طنطا')")));
        QVERIFY(TestDb::addDrug(QStringLiteral("Kiwi"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("260101")));
        QVERIFY(TestDb::addDrug(QStringLiteral("Lime"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("260101")));
        // Two sent orders to buy for, one drug on offer.
        QVERIFY(BuyingFixture::sentOrder("261203100000", "261203", "0102", {{"Kiwi", "3", "5", "1"}, {"Lime", "2", "3", "2"}}));
        QVERIFY(BuyingFixture::sentOrder("261204100000", "261204", "0103", {{"Kiwi", "4", "5", "1"}}));
        QVERIFY(BuyingFixture::offer(1, "Kiwi", "12", "20261201"));
    }

private slots:
    void initTestCase_data() { TestDb::addBackendRows(); }
    void initTestCase() { TestDb::installRecordingHooks(); }
    void init() {
        TESTDB_INIT();
        QVERIFY(ModSQL::ConnectServer());
    }

    void aFaultAtAnyStatementIsToldAsItIs_data() {
        FaultSweep::addRows({"purge", "wholesaler", "offers", "catalogue", "printed", "keep", "receive", "close", "count"});
    }
    void aFaultAtAnyStatementIsToldAsItIs() {
        QFETCH(QString, action);
        QFETCH(QString, fault);
        if (!FaultSweep::possible(fault))
            QSKIP("only a server has sessions to kill");
        const Write w = write(action);
        QList<QStringList> before, done;
        WriteRoad::Result r;
        const auto setUp = [&] {
            init();
            seed();
            if (w.prepare)
                w.prepare();
            before = TestDb::rows(w.state);
        };
        // Round 0 runs without a fault: it gives what a write leaves.
        const auto check = [&](int k) {
            const auto after = TestDb::rows(w.state);
            const QString why = QStringLiteral("statement %1: outcome %2, %3").arg(k).arg(int(r.outcome)).arg(r.error);
            if (k == 0) {
                QVERIFY2(r.saved(), qPrintable(why));
                QVERIFY(after != before);
                done = after;
                return;
            }
            if (r.saved())
                QCOMPARE(after, done);
            else if (r.nothingWritten())
                QCOMPARE(after, before); // "not saved" only when nothing was
            else
                QVERIFY2(after == before || after == done, qPrintable(why));
            if (fault == FaultSweep::LostGoesOn && w.readsBack)
                QVERIFY2(r.outcome != Outcome::Unknown, qPrintable(why));
            QVERIFY(!WriteRoad::Text(r).isEmpty() || r.saved());
            if (!r.saved() && (w.retrySafe || r.nothingWritten())) {
                // The manager tries again on a good line: the write is made once.
                const WriteRoad::Result again = w.run();
                QVERIFY2(again.saved() || again.outcome == Outcome::Taken, qPrintable(again.error));
                QCOMPARE(TestDb::rows(w.state), done);
            }
        };
        QVERIFY(FaultSweep::run(fault, setUp, [&] { r = w.run(); }, check) > 0);
    }
};

QTEST_MAIN(TestManagerWrites)
#include "test_manager_writes.moc"
