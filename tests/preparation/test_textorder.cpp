// One text order: the grid sort, the purchase plan and the pick lists put the same names in the
// same order, the reader's collation (case only breaks ties; Arabic after Latin).
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"
#include "data/DrugNameKey.h"
#include "data/FlexGrid.h"
#include "data/TextOrder.h"
#include "preparation/PickList.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

class TestTextOrder : public QObject {
    Q_OBJECT
private slots:
    void gridPlanAndPickListAgree() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rng(seed);
        // Hamza and madda forms need the full collation: some rounds take the fast keys only.
        const QString simple = QStringLiteral("aAbBzZmMyY019-بتزيمعا");
        const QString full = simple + QStringLiteral("أإآؤ");
        QCollator reader{QLocale(QLocale::English, QLocale::UnitedStates)};
        reader.setCaseSensitivity(Qt::CaseSensitive);
        for (int round = 0; round < 40; ++round) {
            const QString& alphabet = round % 2 ? full : simple;
            QStringList names;
            QSet<QString> keys;
            while (names.size() < 60) {
                QString name;
                for (int w = 0, words = 1 + rng.bounded(2); w < words; ++w) {
                    if (w)
                        name += u' ';
                    for (int i = 0, n = 1 + rng.bounded(6); i < n; ++i)
                        name += alphabet[rng.bounded(int(alphabet.size()))];
                }
                // The plan merges spellings of one drug; each drug keeps the one spelling here.
                if (!keys.contains(DrugNameKey(name))) {
                    keys.insert(DrugNameKey(name));
                    names << name;
                }
            }
            for (int i = 0; i < 200; ++i) {
                const QString& a = names[rng.bounded(int(names.size()))];
                const QString& b = names[rng.bounded(int(names.size()))];
                const int c = TextOrder::compare(a, b);
                QCOMPARE(c, -TextOrder::compare(b, a));
#ifndef Q_OS_WIN
                const int r = reader.compare(a, b);
                QVERIFY2((c > 0) == (r > 0) && (c < 0) == (r < 0), qPrintable(a + QStringLiteral(" | ") + b));
#endif
            }

            std::vector<QString> texts(names.begin(), names.end());
            QStringList expected;
            for (int i : TextOrder::order(texts))
                expected << names[i];
            for (int i = 1; i < expected.size(); ++i)
                QVERIFY2(TextOrder::less(expected[i - 1], expected[i]), qPrintable(expected[i - 1] + QStringLiteral(" | ") + expected[i]));

            FlexGrid grid(1, 1);
            for (const QString& n : names)
                grid.AddItem(n);
            grid.setCol(0);
            grid.Sort(FlexGrid::SortStringAscending);
            QStringList gridOrder;
            for (int r = 1; r < grid.Rows(); ++r)
                gridOrder << grid.TextMatrix(r, 0);
            QCOMPARE(gridOrder, expected);

            std::vector<OrderLines::Line> lines;
            for (const QString& n : names)
                lines.push_back({n, "1", "10", "0"});
            const QString encoded = OrderLines::Encode(lines);
            QStringList pickOrder;
            for (const OrderLines::Line& l : PickList::MakePage(encoded, "261201080000", "261201", "0101", "دسوق", "101").lines)
                pickOrder << l.drug;
            QCOMPARE(pickOrder, expected);

            GroupDemand::Accumulator acc;
            acc.addOrder(encoded, "261201080000", "261201", "0101", "دسوق");
            const PeriodDemand demand = PeriodDemand::FromReport(acc.finish({}), {});
            QVERIFY(demand.ok);
            const PurchasePlan plan = PurchasePlan::Make(demand, OfferBook{});
            QStringList planOrder;
            for (int i : plan.unoffered())
                planOrder << plan.lines()[size_t(i)].drug;
            QCOMPARE(planOrder, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestTextOrder)
#include "test_textorder.moc"
