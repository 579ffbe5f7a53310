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
// Some longer than a drug's room for the price last read, and some of those alike but for the end.
const QStringList Prices{"20", "12.5", "7.25", "", "0.1", "999", "123456789", "123456780", "12.500000"};
const QStringList Discounts{"0", "10", "5.5", "", "100", "12.345", "12.346"};

struct Expected {
    QString name;
    double quantity = 0, cash = 0;
    std::set<QString> pharmacies;
    std::map<int, float> placed; // the orders holding it: order -> quantity
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
        int ordersWithLines = 0, orders = 400;
        for (int o = 0; o < orders; ++o) {
            QString text = rnd.bounded(8) == 0 ? QStringLiteral("junk") : QString();
            for (int i = 0, n = int(rnd.bounded(110u)); i < n; ++i) {
                // Now and then one of many more drugs: a pharmacy's drugs beyond one word of bits.
                const QString drug = rnd.bounded(3) ? pick(Spellings) : QStringLiteral("Drug %1").arg(rnd.bounded(150));
                QStringList f{rnd.bounded(12) ? drug : QString(), pick(Quantities), pick(Prices), pick(Discounts)};
                if (rnd.bounded(20) == 0)
                    f << QStringLiteral("extra");
                text += u'^' + f.mid(0, int(rnd.bounded(1u, quint32(f.size()) + 1))).join(u'|') + (rnd.bounded(4) ? "|" : "");
            }
            const QString id = QString::number(o), tel = QStringLiteral("010%1").arg(rnd.bounded(30));
            acc.addOrder(text, id, QStringLiteral("261201"), tel, QStringLiteral("دسوق"));

            float orderSum = 0;
            bool any = false;
            for (const QString& slot : text.split(u'^').mid(1, OrderLines::Slots)) {
                const QStringList f = (slot + "|||").split(u'|');
                const QString &drug = f[0], &quantity = f[1], &price = f[2], &disc = f[3];
                if (drug.isEmpty() && quantity.isEmpty() && price.isEmpty() && disc.isEmpty())
                    continue;
                const double q = ModGFun::Val(quantity);
                const float value = OrderLines::LineValue(q, price, disc);
                OrderLines::AddLineValue(orderSum, value);
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
                e.pharmacies.insert(tel);
                e.placed[o] += float(q); // finite: a line beyond the float range has no finite value
                any = true;
            }
            if (any) {
                totalCash += OrderLines::ValueOfSum(orderSum).cash; // finite: an infinite line is left out
                ++ordersWithLines;
                pharmaciesWithLines.insert(tel);
            }
        }

        const GroupDemand::Report r = acc.finish({});
        const auto n = [](double v) { return QString::number(v, 'g', 17); };
        QCOMPARE(QStringList({n(r.ordersRead()), n(r.total.quantity), n(r.total.cash), n(r.total.orders), n(r.total.pharmacies)}),
                 QStringList({n(orders), n(totalQuantity), n(ModGFun::RoundHalfEven(totalCash, 1)), n(ordersWithLines),
                              n(double(pharmaciesWithLines.size()))}));
        const auto texts = [](const std::vector<GroupDemand::SkippedLine>& lines) {
            QStringList out;
            for (const GroupDemand::SkippedLine& l : lines)
                out << l.orderId + u'|' + l.drug + u'|' + l.quantity;
            return out;
        };
        QCOMPARE(texts(r.skipped), texts(skipped));
        std::erase_if(want, [](const auto& e) { return e.second.placed.empty(); });
        QCOMPARE(r.drugs.size(), want.size());
        for (int k = 0; k < int(r.drugs.size()); ++k) {
            const GroupDemand::Drug& g = r.drugs[size_t(k)];
            QVERIFY2(g.nameless == g.key.isEmpty() && want.count(g.key), qPrintable(g.key));
            const Expected& e = want[g.key];
            const auto c = g.nameless ? catalogue.end() : catalogue.find(g.key);
            QCOMPARE(g.inCatalogue, c != catalogue.end());
            QCOMPARE(QStringList({g.name, g.price, g.disc, g.best}), g.inCatalogue ? c->second : QStringList({e.name, {}, {}, {}}));
            QCOMPARE(r.drugs[size_t(r.drugNamed(g.name))].name, g.name);
            QCOMPARE(QStringList({n(g.quantity), n(g.cash), n(g.orders), n(g.pharmacies)}),
                     QStringList({n(e.quantity), n(e.cash), n(double(e.placed.size())), n(double(e.pharmacies.size()))}));
            std::map<int, float> placed;
            for (const GroupDemand::Placement& p : r.placementsOf(k))
                QVERIFY(placed.emplace(p.order, p.quantity).second);
            QVERIFY(placed == e.placed);
        }
    }
};

QTEST_GUILESS_MAIN(TestDemandAdding)
#include "test_demandadding.moc"
