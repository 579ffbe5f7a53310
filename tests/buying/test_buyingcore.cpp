// The buying rules without a server: sharing a delivery, the best offer, the quantity to buy and
// the split by wholesaler, and the demand's asks per drug, earliest first.
#include "buying/DeliveryShare.h"
#include "buying/HeldReader.h"
#include "buying/OfferBook.h"
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"
#include "data/DrugNameKey.h"
#include "ordering/OrderLines.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <numeric>

using Rule = DeliveryShare::Rule;
Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(Rule)

class TestBuyingCore : public QObject {
    Q_OBJECT
private slots:
    void shareFollowsTheRule_data() {
        QTest::addColumn<std::vector<double>>("asked");
        QTest::addColumn<double>("received");
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<std::vector<int>>("expected");
        const Rule E = Rule::EarliestFirst, P = Rule::Proportional;
        QTest::newRow("nothing received") << std::vector<double>{3, 2} << 0.0 << E << std::vector<int>{0, 0};
        QTest::newRow("below zero received") << std::vector<double>{3, 2} << -4.0 << P << std::vector<int>{0, 0};
        QTest::newRow("more than asked, earliest") << std::vector<double>{3, 2} << 10.0 << E << std::vector<int>{3, 2};
        QTest::newRow("more than asked, proportion") << std::vector<double>{3, 2} << 10.0 << P << std::vector<int>{3, 2};
        QTest::newRow("short, earliest") << std::vector<double>{3, 2, 4} << 4.0 << E << std::vector<int>{3, 1, 0};
        QTest::newRow("short, proportion") << std::vector<double>{3, 2, 4} << 4.0 << P << std::vector<int>{1, 1, 2};
        QTest::newRow("one unit, earliest") << std::vector<double>{1, 1, 1} << 1.0 << E << std::vector<int>{1, 0, 0};
        QTest::newRow("one unit, proportion") << std::vector<double>{1, 1, 1} << 1.0 << P << std::vector<int>{1, 0, 0};
        QTest::newRow("one unit, the largest ask") << std::vector<double>{1, 5, 1} << 1.0 << P << std::vector<int>{0, 1, 0};
        QTest::newRow("equal halves go earliest") << std::vector<double>{5, 5} << 5.0 << P << std::vector<int>{3, 2};
        QTest::newRow("a fraction asked is a unit") << std::vector<double>{2.5, 1} << 3.0 << E << std::vector<int>{3, 0};
        QTest::newRow("fraction received") << std::vector<double>{2.5, 1} << 2.9 << E << std::vector<int>{2, 0};
        QTest::newRow("an ask below a unit") << std::vector<double>{0.5, 2} << 1.0 << P << std::vector<int>{0, 1};
        QTest::newRow("three halves, as bought") << std::vector<double>{0.5, 0.5, 0.5} << 3.0 << P << std::vector<int>{1, 1, 1};
        QTest::newRow("no orders") << std::vector<double>{} << 5.0 << E << std::vector<int>{};
        QTest::newRow("huge ask") << std::vector<double>{1e30, 1} << 7.0 << P << std::vector<int>{7, 0};
    }
    void shareFollowsTheRule() {
        QFETCH(std::vector<double>, asked);
        QFETCH(double, received);
        QFETCH(Rule, rule);
        QFETCH(std::vector<int>, expected);
        const std::vector<int> got = DeliveryShare::Share(asked, received, rule);
        QCOMPARE(got, expected);
    }

    // Every split adds up: the shares make the received units or everything asked, whichever is
    // less, and no order gets more than it asked, over many random deliveries.
    void sharesAlwaysAddUp() {
        QRandomGenerator rng(17);
        for (int round = 0; round < 2000; ++round) {
            std::vector<double> asked(size_t(rng.bounded(1, 30)));
            for (double& a : asked)
                a = rng.bounded(0, 8) + (rng.bounded(4) == 0 ? 0.5 : 0.0);
            const double received = rng.bounded(0, 80);
            for (Rule rule : {Rule::EarliestFirst, Rule::Proportional}) {
                const std::vector<int> got = DeliveryShare::Share(asked, received, rule);
                long long wanted = 0, sum = 0;
                for (size_t i = 0; i < asked.size(); ++i) {
                    wanted += (long long)std::ceil(asked[i]);
                    sum += got[i];
                    QVERIFY(got[i] >= 0 && got[i] <= std::ceil(asked[i]));
                }
                QCOMPARE(sum, std::min(wanted, (long long)received));
            }
        }
    }

    void bestOffer_data() {
        QTest::addColumn<QStringList>("offers"); // wholesaler|drug|discount|date
        QTest::addColumn<QString>("drug");
        QTest::addColumn<int>("wholesaler"); // 0: none
        QTest::newRow("highest discount") << QStringList{"1|Panadol|10|20261201", "2|Panadol|12|20261101"} << "panadol" << 2;
        QTest::newRow("tie: most recent") << QStringList{"1|Panadol|12|20261201", "2|Panadol|12|20261205"} << "Panadol" << 2;
        QTest::newRow("tie, same day: first wholesaler") << QStringList{"2|Panadol|12|20261201", "1|Panadol|12|20261201"} << "Panadol" << 1;
        QTest::newRow("a newer offer replaces the older") << QStringList{"2|Panadol|15|20261101", "1|Panadol|10|20261102", "2|Panadol|8|20261201"} << "Panadol" << 1;
        QTest::newRow("names by key") << QStringList{"1|إنبيوتك  شراب|5|20261201", "2|انبيوتك شراب|9|20261201"} << "انبيوتك شراب" << 2;
        QTest::newRow("no offer") << QStringList{"1|Panadol|10|20261201"} << "Brufen" << 0;
        // Two of one wholesaler's offers of one day: the higher stands, whichever row comes last.
        QTest::newRow("stored same day: the higher") << QStringList{"1|PANADOL|14|20261201", "1|Panadol|8|20261201", "2|Panadol|10|20261201"} << "Panadol" << 1;
        QTest::newRow("stored same day, same discount") << QStringList{"2|Panadol|9|20261201", "2|panadol|9|20261201", "1|Panadol|9|20261130"} << "Panadol" << 2;
    }
    void bestOffer() {
        QFETCH(QStringList, offers);
        QFETCH(QString, drug);
        QFETCH(int, wholesaler);
        std::vector<Offer> list;
        for (const QString& o : offers) {
            const QStringList f = o.split(u'|');
            list.push_back({f[0].toInt(), f[1], f[2].toDouble(), f[3]});
        }
        // The engines hand rows over in no set order: the book must not depend on it.
        QString seen;
        for (int turn = 0; turn < 2; ++turn) {
            const OfferBook book({{1, "A", {}, {}}, {2, "B", {}, {}}}, list);
            const Offer* best = book.best(DrugNameKey(drug));
            QCOMPARE(best ? best->wholesaler : 0, wholesaler);
            const QString chosen = best ? QStringLiteral("%1 %2").arg(best->drug).arg(best->discount) : QString();
            if (turn == 1)
                QCOMPARE(chosen, seen);
            seen = chosen;
            std::reverse(list.begin(), list.end());
        }
    }

    void quantityToBuy_data() {
        QTest::addColumn<double>("demand");
        QTest::addColumn<double>("stock");
        QTest::addColumn<double>("buy");
        QTest::newRow("less the stock") << 10.0 << 4.0 << 6.0;
        QTest::newRow("stock covers it") << 3.0 << 5.0 << 0.0;
        QTest::newRow("exactly covered") << 5.0 << 5.0 << 0.0;
        QTest::newRow("a fraction is a unit") << 2.5 << 0.0 << 3.0;
        QTest::newRow("float noise") << 3.0000000001 << 0.0 << 3.0;
        QTest::newRow("stock below zero counts as none") << 5.0 << -2.0 << 5.0;
        QTest::newRow("no stock figure") << 4.0 << double(NAN) << 4.0;
    }
    void quantityToBuy() {
        QFETCH(double, demand);
        QFETCH(double, stock);
        QFETCH(double, buy);
        QCOMPARE(PurchasePlan::ToBuy(demand, stock), buy);
    }

    // Three sent orders of two days, spellings that differ only as DrugNameKey allows, the
    // catalogue's stock: the asks come earliest first, one per order, the plan splits by
    // wholesaler and lists the drug without an offer apart.
    void demandToPlan() {
        GroupDemand::Accumulator acc;
        acc.addOrder(OrderLines::Encode({{"PANADOL  extra", "2", "20", "10"}, {"زيرتك", "1", "30", "0"}}), "261203100000",
                     "261203", "0101", "دسوق");
        acc.addOrder(OrderLines::Encode({{"Panadol Extra", "5", "20", "10"}, {"Panadol extra ", "1", "20", "10"},
                                         {"Vit C", "4", "7.5", "0"}}),
                     "261201090000", "261201", "0102", "بيلا");
        acc.addOrder(OrderLines::Encode({{"panadol extra", "3", "20", "10"}, {"زيرتك", "2", "30", "0"}}), "261201080000",
                     "261201", "0103", "فوه");
        QHash<QString, PeriodDemand::CatalogueItem> catalogue;
        catalogue.insert(DrugNameKey(u"Panadol Extra"), {"Panadol Extra", 20, 4});
        catalogue.insert(DrugNameKey(u"زيرتك"), {"زيرتك", 30, 0});
        const PeriodDemand d = PeriodDemand::FromReport(acc.finish({}), catalogue);
        QVERIFY(d.ok);
        QCOMPARE(int(d.drugs.size()), 3);
        const int pan = d.drugOfKey(DrugNameKey(u"panadol extra"));
        QVERIFY(pan >= 0);
        QCOMPARE(d.drugs[size_t(pan)].demand, 11.0);
        QStringList asks;
        for (auto a = d.asksBegin(pan); a != d.asksEnd(pan); ++a)
            asks << d.orders[size_t(a->order)].id + u'=' + QString::number(a->asked);
        QCOMPARE(asks, (QStringList{"261201080000=3", "261201090000=6", "261203100000=2"}));
        QVERIFY(!d.fingerprint.isEmpty());

        const OfferBook book({{1, "الامل", {}, {}}, {2, "الشفاء", {}, {}}}, {{1, "Panadol Extra", 12, "20261201"}, {2, "زيرتك", 7, "20261201"},
                                                               {1, "زيرتك", 5, "20261201"}});
        PurchasePlan plan = PurchasePlan::Make(d, book);
        auto names = [&](const std::vector<int>& lines) {
            QStringList out;
            for (int i : lines)
                out << plan.lines()[size_t(i)].drug + u'=' + QString::number(plan.lines()[size_t(i)].quantity);
            return out;
        };
        auto orders = plan.orders(book);
        QCOMPARE(int(orders.size()), 2);
        QCOMPARE(orders[0].wholesaler, 1);
        QCOMPARE(names(orders[0].lines), QStringList{"Panadol Extra=7"});
        QCOMPARE(orders[0].total, 7 * 20 * 0.88);
        QCOMPARE(names(orders[1].lines), QStringList{"زيرتك=3"});
        QCOMPARE(names(plan.unoffered()), QStringList{"Vit C=4"});

        const int zyr = orders[1].lines[0];
        QVERIFY(!plan.setQuantity(zyr, -1));
        QVERIFY(plan.setQuantity(zyr, 0)); // nothing to buy: the wholesaler gets no order
        QVERIFY(plan.moveTo(orders[0].lines[0], 2, book));
        QVERIFY(!plan.moveTo(0, 9, book));
        orders = plan.orders(book);
        QCOMPARE(int(orders.size()), 1);
        QCOMPARE(orders[0].wholesaler, 2);
        QCOMPARE(plan.lines()[size_t(orders[0].lines[0])].discount, 0.0); // no offer of its own there
    }

    // The server's rows of the lines, in any order (mostly the orders' own), with ids two orders
    // share, drugs and orders the demand does not hold and lines given twice: every ask ends with
    // its line's last row, or none, and its open units follow.
    void heldRowsReachTheirAsks() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        for (int round = 0; round < 40; ++round) {
            GroupDemand::Accumulator acc;
            const int orders = rng.bounded(1, 60), drugs = rng.bounded(1, 25);
            std::vector<QString> ids;
            for (int o = 0; o < orders; ++o) {
                std::vector<OrderLines::Line> lines;
                for (int i = rng.bounded(1, 8); i > 0; --i)
                    lines.push_back({QStringLiteral("Drug %1").arg(rng.bounded(drugs)), QString::number(rng.bounded(1, 9)), "5", "0"});
                // A few ids come twice: both orders take the line's row.
                ids.push_back(o > 0 && rng.bounded(8) == 0 ? ids[size_t(rng.bounded(o))] : QStringLiteral("26120%1").arg(o, 7, 10, QChar('0')));
                acc.addOrder(OrderLines::Encode(lines), ids.back(), QStringLiteral("26120%1").arg(rng.bounded(1, 8)), "0100", "مركز");
            }
            PeriodDemand d = PeriodDemand::FromReport(acc.finish({}), {});
            struct Row {
                QString orderid, key;
                PeriodDemand::Held held;
            };
            std::vector<Row> rows;
            for (const GroupDemand::Order& o : d.orders)
                for (int k = 0; k < drugs + 2; ++k)
                    if (rng.bounded(3) == 0) {
                        const int asked = rng.bounded(1, 9);
                        const int onorder = rng.bounded(asked + 1), allotted = rng.bounded(2);
                        const bool inOrder = rng.bounded(4) == 0;
                        rows.push_back({o.id, DrugNameKey(QStringLiteral("Drug %1").arg(k)),
                                        {.exists = true, .inOrder = inOrder, .asked = asked, .onorder = onorder, .allotted = allotted}});
                    }
            rows.push_back({"nosuchorder", DrugNameKey(u"Drug 0"), {.exists = true, .asked = 9}});
            // Mostly as the orders run, sometimes a row out of its place, sometimes all shuffled.
            if (round % 4 == 3)
                std::shuffle(rows.begin(), rows.end(), rng);
            else
                for (size_t i = 0; i + 1 < rows.size(); ++i)
                    if (rng.bounded(10) == 0)
                        std::swap(rows[i], rows[size_t(rng.bounded(int(rows.size())))]);
            QHash<QString, PeriodDemand::Held> last;
            HeldReader reader(d);
            for (const Row& r : rows) {
                reader.take(r.orderid, d.drugOfKey(r.key), r.held);
                last.insert(PeriodDemand::LineKey(r.orderid, r.key), r.held);
            }
            reader.finish({});
            for (int k = 0; k < int(d.drugs.size()); ++k) {
                double open = 0;
                for (auto a = d.asksBegin(k); a != d.asksEnd(k); ++a) {
                    const PeriodDemand::Held want = last.value(PeriodDemand::LineKey(d.orders[size_t(a->order)].id, d.drugs[size_t(k)].key));
                    QCOMPARE(a->held.exists, want.exists);
                    QCOMPARE(a->held.asked, want.asked);
                    QCOMPARE(a->held.onorder, want.onorder);
                    QCOMPARE(a->held.inOrder, want.inOrder);
                    QCOMPARE(a->open, !want.exists ? a->units : want.inOrder ? 0 : std::max(0, want.asked - want.onorder - want.allotted));
                    open += a->open;
                }
                QCOMPARE(d.drugs[size_t(k)].demand, open);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestBuyingCore)
#include "test_buyingcore.moc"
