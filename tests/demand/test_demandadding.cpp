// The adding up of the group demand against a plain re-count of the same random orders: every
// drug's figures, the orders holding it, the lines left out and the totals.
#include "data/DrugNameKey.h"
#include "data/ModGFun.h"
#include "demand/GroupDemand.h"
#include "demand/GroupDemandTexts.h"
#include "ordering/OrderLines.h"

#include <QRandomGenerator>
#include <QtTest>
#include <map>
#include <set>

namespace {
// Spellings that fold to few drugs, and some that differ only just.
const QStringList Spellings{"Panadol Extra", "PANADOL EXTRA", " panadol  extra ", "Panadol Extra2", "Panadol Extr",
                            "أدول", "ادول", "إدول 500", "ادول500", "قطرة عين", "قطره عين", "Zyrtec", "zyrtec ",
                            "Vit \"C\", 500", "A", "B", "Augmentin 1 g tablets of the long name kind", "Augmentin 1 g"};
const QStringList Quantities{"1", "2", "07", "12", "3 boxes", "2.5", "-1", "", "x", "1e400", "1e39", "123"};
const QStringList Prices{"20", "12.5", "7.25", "", "0.1", "999"};
const QStringList Discounts{"0", "10", "5.5", "", "100"};

struct Expected {
    QString name;
    double quantity = 0, cash = 0;
    std::set<int> orders;
    std::set<QString> pharmacies;
    std::map<int, float> placed; // order -> quantity
};
} // namespace

class TestDemandAdding : public QObject {
    Q_OBJECT
private slots:
    void addingUpMatchesAPlainRecount() {
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("seed %u", seed);
        QRandomGenerator rnd(seed);
        const auto pick = [&](const QStringList& l) { return l.at(int(rnd.bounded(quint32(l.size())))); };
        GroupDemand::Accumulator acc;
        std::map<QString, QStringList> catalogue; // key -> drug, price, disc, best; first row wins
        for (int c = 0; c < 8; ++c) {
            const QStringList row{pick(Spellings), pick(Prices), pick(Discounts), QString::number(c)};
            acc.addCatalogueRow(row[0], row[1], row[2], row[3]);
            catalogue.emplace(DrugNameKey(row[0]), row);
        }
        std::map<QString, Expected> want; // by key; "" the lines without a name
        std::vector<GroupDemand::SkippedLine> skipped;
        double totalQuantity = 0, totalCash = 0;
        std::set<QString> pharmaciesWithLines;
        int ordersWithLines = 0;
        const int orders = 400;
        for (int o = 0; o < orders; ++o) {
            QString text = rnd.bounded(8) == 0 ? QStringLiteral("junk") : QString();
            for (int i = 0, n = int(rnd.bounded(110u)); i < n; ++i) {
                QStringList f{rnd.bounded(12) ? pick(Spellings) : QString(), pick(Quantities), pick(Prices), pick(Discounts)};
                if (rnd.bounded(20) == 0)
                    f << QStringLiteral("extra");
                text += u'^' + f.mid(0, int(rnd.bounded(1u, quint32(f.size()) + 1))).join(u'|') + (rnd.bounded(4) ? "|" : "");
            }
            const QString id = QString::number(o), tel = QStringLiteral("010%1").arg(rnd.bounded(30));
            acc.addOrder(text, id, QStringLiteral("261201"), tel, QStringLiteral("دسوق"));

            float orderSum = 0;
            int excluded = 0;
            bool any = false;
            const QStringList parts = text.split(u'^').mid(1, OrderLines::Slots);
            for (const QString& slot : parts) {
                QStringList f = slot.split(u'|');
                while (f.size() < 4)
                    f << QString();
                const QString &drug = f[0], &quantity = f[1], &price = f[2], &disc = f[3];
                if (drug.isEmpty() && quantity.isEmpty() && price.isEmpty() && disc.isEmpty())
                    continue;
                const double q = ModGFun::Val(quantity);
                const float value = OrderLines::LineValue(q, price, disc);
                excluded += !OrderLines::AddLineValue(orderSum, value);
                if (!std::isfinite(q) || q < 0) {
                    skipped.push_back({id, drug.isEmpty() ? GroupDemandTexts::NoName : drug, quantity});
                    continue;
                }
                Expected& e = want[drug.isEmpty() ? QString() : DrugNameKey(drug)];
                const QString shown = drug.isEmpty() ? GroupDemandTexts::NoName : drug.simplified();
                if (e.name.isEmpty() || shown < e.name)
                    e.name = shown;
                if (!std::isfinite(value) || !std::isfinite(e.quantity + q) || !std::isfinite(e.cash + double(value)) ||
                    !std::isfinite(totalQuantity + q)) {
                    skipped.push_back({id, e.name, quantity});
                    continue;
                }
                e.quantity += q;
                e.cash += double(value);
                totalQuantity += q;
                e.orders.insert(o);
                e.pharmacies.insert(tel);
                e.placed[o] += q <= double(std::numeric_limits<float>::max()) ? float(q) : INFINITY;
                any = true;
            }
            if (any) {
                const double cash = OrderLines::ValueOfSum(orderSum, excluded).cash;
                if (std::isfinite(cash) && std::isfinite(totalCash + cash))
                    totalCash += cash;
                else
                    skipped.push_back({id, QString(), QString()});
                ++ordersWithLines;
                pharmaciesWithLines.insert(tel);
            }
        }

        const GroupDemand::Report r = acc.finish({});
        QCOMPARE(r.ordersRead(), orders);
        QCOMPARE(r.total.quantity, totalQuantity);
        QCOMPARE(r.total.cash, ModGFun::RoundHalfEven(totalCash, 1));
        QCOMPARE(r.total.orders, ordersWithLines);
        QCOMPARE(r.total.pharmacies, int(pharmaciesWithLines.size()));
        QCOMPARE(r.skipped.size(), skipped.size());
        for (size_t i = 0; i < skipped.size(); ++i)
            QCOMPARE(QStringList({r.skipped[i].orderId, r.skipped[i].drug, r.skipped[i].quantity}),
                     QStringList({skipped[i].orderId, skipped[i].drug, skipped[i].quantity}));
        std::erase_if(want, [](const auto& e) { return e.second.orders.empty(); });
        QCOMPARE(r.drugs.size(), want.size());
        for (int k = 0; k < int(r.drugs.size()); ++k) {
            const GroupDemand::Drug& g = r.drugs[size_t(k)];
            QVERIFY(g.nameless == g.key.isEmpty());
            QVERIFY2(want.count(g.key), qPrintable(g.key));
            const Expected& e = want[g.key];
            const auto c = catalogue.find(g.key);
            const bool listed = !g.nameless && c != catalogue.end();
            QCOMPARE(g.inCatalogue, listed);
            QCOMPARE(QStringList({g.name, g.price, g.disc, g.best}),
                     listed ? c->second : QStringList({e.name, {}, {}, {}}));
            QCOMPARE(r.drugs[size_t(r.drugNamed(g.name))].name, g.name);
            QCOMPARE(g.quantity, e.quantity);
            QCOMPARE(g.cash, e.cash);
            QCOMPARE(g.orders, int(e.orders.size()));
            QCOMPARE(g.pharmacies, int(e.pharmacies.size()));
            std::map<int, float> placed;
            for (const GroupDemand::Placement& p : r.placementsOf(k))
                QVERIFY(placed.emplace(p.order, p.quantity).second);
            QCOMPARE(placed, e.placed);
        }
    }
};

QTEST_GUILESS_MAIN(TestDemandAdding)
#include "test_demandadding.moc"
