#include "buying/PeriodDemand.h"

#include "buying/BuyingTexts.h"
#include "data/BowndrugsColumns.h"
#include "data/DrugNameKey.h"
#include "data/FieldText.h"
#include "data/ModGFun.h"
#include "data/ModSQL.h"
#include "data/ServerConnection.h"

#include <QCryptographicHash>
#include <algorithm>
#include <numeric>
#include <thread>

static_assert(sizeof(PeriodDemand::Ask) <= 40, "a period holds an ask for nearly every line");

PeriodDemand PeriodDemand::FromReport(GroupDemand::Report&& report, const QHash<QString, CatalogueItem>& catalogue) {
    PeriodDemand d;
    d.ok = report.ok;
    d.error = report.error;
    d.period = report.period;
    if (!report.ok)
        return d;
    // Report drugs (case folded) merged under their name key.
    std::vector<int> drugOfReport(report.drugs.size());
    for (size_t k = 0; k < report.drugs.size(); ++k) {
        const GroupDemand::Drug& g = report.drugs[k];
        const QString key = g.nameless ? DrugNameKey(g.name) : g.key;
        auto it = d.m_byKey.constFind(key);
        int m;
        if (it == d.m_byKey.constEnd()) {
            m = int(d.drugs.size());
            d.m_byKey.insert(key, m);
            Drug nd;
            nd.key = key;
            nd.name = g.name;
            if (auto c = catalogue.constFind(key); c != catalogue.constEnd()) {
                nd.name = c->name;
                nd.price = c->price;
                nd.stock = c->stock;
                nd.inCatalogue = true;
            }
            d.drugs.push_back(nd);
        } else {
            m = it.value();
            if (!d.drugs[size_t(m)].inCatalogue && g.name < d.drugs[size_t(m)].name)
                d.drugs[size_t(m)].name = g.name;
        }
        d.drugs[size_t(m)].demand += g.quantity;
        drugOfReport[k] = m;
    }
    // Drugs by name: the asks are laid out in this order once, not moved again.
    const size_t nd = d.drugs.size();
    {
        std::vector<int> byName(nd);
        std::iota(byName.begin(), byName.end(), 0);
        std::sort(byName.begin(), byName.end(),
                  [&](int x, int y) { return d.drugs[size_t(x)].key < d.drugs[size_t(y)].key; });
        std::vector<int> place(nd);
        std::vector<Drug> drugs;
        drugs.reserve(nd);
        d.m_byKey.clear();
        for (int k : byName) {
            place[size_t(k)] = int(drugs.size());
            d.m_byKey.insert(d.drugs[size_t(k)].key, int(drugs.size()));
            drugs.push_back(std::move(d.drugs[size_t(k)]));
        }
        d.drugs = std::move(drugs);
        for (int& m : drugOfReport)
            m = place[size_t(m)];
    }
    // Orders earliest sent first: the order's day, then its id (the time it was made).
    std::vector<int> rank(report.orders.size());
    std::iota(rank.begin(), rank.end(), 0);
    std::vector<double> day(report.orders.size());
    for (size_t o = 0; o < report.orders.size(); ++o)
        day[o] = ModGFun::Val(report.orders[o].date);
    std::stable_sort(rank.begin(), rank.end(), [&](int a, int b) {
        if (day[size_t(a)] != day[size_t(b)])
            return day[size_t(a)] < day[size_t(b)];
        return report.orders[size_t(a)].id < report.orders[size_t(b)].id;
    });
    d.orders.reserve(report.orders.size());
    for (size_t i = 0; i < rank.size(); ++i)
        d.orders.push_back(std::move(report.orders[size_t(rank[i])]));
    // Asks grouped by drug in one counting pass; within a drug, earliest order first. Two report
    // drugs of one key in the same order make one ask.
    std::vector<int> count(nd + 1, 0);
    for (const auto& e : report.entries)
        ++count[size_t(drugOfReport[size_t(e.drug)]) + 1];
    d.m_askStart.assign(nd + 1, 0);
    for (size_t k = 0; k < nd; ++k)
        d.m_askStart[k + 1] = d.m_askStart[k] + count[k + 1];
    d.m_asks.resize(report.entries.size());
    std::vector<int> fill(d.m_askStart.begin(), d.m_askStart.end() - 1);
    for (size_t i = 0; i < rank.size(); ++i) {
        const size_t o = size_t(rank[i]);
        for (int e = report.orderStart[o]; e < report.orderStart[o + 1]; ++e) {
            const auto& en = report.entries[size_t(e)];
            const int m = drugOfReport[size_t(en.drug)];
            int& f = fill[size_t(m)];
            if (f > d.m_askStart[size_t(m)] && d.m_asks[size_t(f - 1)].order == int(i))
                d.m_asks[size_t(f - 1)].asked += en.quantity;
            else
                d.m_asks[size_t(f++)] = {en.quantity, int(i), 0, 0, {}};
        }
    }
    // Close the gaps merged asks left, in place (nothing moves forward); up to the first gap
    // nothing moves.
    size_t w = 0;
    for (size_t k = 0; k < nd; ++k) {
        const int from = d.m_askStart[k];
        d.m_askStart[k] = int(w);
        if (size_t(from) == w) {
            w = size_t(fill[k]);
            continue;
        }
        for (int i = from; i < fill[k]; ++i)
            d.m_asks[w++] = d.m_asks[size_t(i)];
    }
    d.m_askStart[nd] = int(w);
    d.m_asks.resize(w);
    // The plan and the sharing count an ask alike, in whole units.
    for (size_t k = 0; k < nd; ++k) {
        double units = 0;
        for (int i = d.m_askStart[k]; i < d.m_askStart[k + 1]; ++i) {
            Ask& a = d.m_asks[size_t(i)];
            a.units = a.open = int(std::min<long long>(DeliveryShare::AskedUnits(a.asked), 1000000000));
            units += a.units;
        }
        d.drugs[k].demand = units;
    }

    QCryptographicHash print(QCryptographicHash::Sha1);
    for (const Drug& g : d.drugs)
        print.addData((g.key + u'=' + ModGFun::ShortestText(g.demand) + u';').toUtf8());
    d.fingerprint = QString::number(d.orders.size()) + u'-' + QString::fromLatin1(print.result().toHex().left(24));
    return d;
}

bool PeriodDemand::ReadCatalogue(QHash<QString, CatalogueItem>& out, QString* error) {
    long affected = 0;
    ServerConnection::instance().ExecuteEach(QStringLiteral("SELECT * FROM bowndrugs"), affected, error,
                                             [&](const QSqlQuery& q) {
                                                 const QString name = FieldText(q.value(BowndrugsColumns::Drug));
                                                 const QString key = DrugNameKey(name);
                                                 if (key.isEmpty() || out.contains(key))
                                                     return;
                                                 out.insert(key, {name, ModGFun::Val(FieldText(q.value(BowndrugsColumns::Price))),
                                                                  ModGFun::Val(FieldText(q.value(BowndrugsColumns::Stock)))});
                                             });
    return affected != 0;
}

PeriodDemand PeriodDemand::Read(const GroupDemand::Period& period, const std::function<void()>& meanwhile,
                                const std::function<void()>& alongside) {
    GroupDemand::Period p = period;
    p.sentOnly = true;
    // The catalogue's stock comes with the demand's own read of the catalogue. Its rows are kept as
    // read (the values are shared, not copied) and only the few the orders hold are looked up and
    // turned into numbers afterwards: a catalogue is twenty times the drugs a period asks for.
    struct Row {
        QString key;
        QVariant name, price, stock;
    };
    std::vector<Row> rows;
    GroupDemand::Report report = GroupDemand::Build(p, [&](const QSqlQuery& row, const QString& key) {
        if (!key.isEmpty())
            rows.push_back({key, row.value(BowndrugsColumns::Drug), row.value(BowndrugsColumns::Price),
                            row.value(BowndrugsColumns::Stock)});
    }, meanwhile);
    if (!report.ok) {
        PeriodDemand failed;
        failed.period = period;
        failed.error = report.error;
        return failed;
    }
    PeriodDemand made;
    const auto make = [&] {
        // The keys FromReport looks up, each filled from the first catalogue row of its key.
        QHash<QString, bool> wanted;
        wanted.reserve(qsizetype(report.drugs.size()));
        for (const GroupDemand::Drug& g : report.drugs)
            wanted.insert(g.nameless ? DrugNameKey(g.name) : g.key, false);
        QHash<QString, CatalogueItem> catalogue;
        catalogue.reserve(wanted.size());
        for (const Row& r : rows) {
            auto w = wanted.find(r.key);
            if (w == wanted.end() || w.value())
                continue;
            w.value() = true;
            catalogue.insert(r.key, {FieldText(r.name), ModGFun::Val(FieldText(r.price)), ModGFun::Val(FieldText(r.stock))});
        }
        rows = {};
        made = FromReport(std::move(report), catalogue);
    };
    if (alongside) {
        // Nothing here throws; the thread is joined before anything it touches goes.
        std::thread putTogether(make);
        alongside();
        putTogether.join();
    } else {
        make();
    }
    return made;
}

void PeriodDemand::openUnits(const QHash<QString, int>& groupStock) {
    for (size_t k = 0; k < drugs.size(); ++k) {
        Drug& g = drugs[k];
        if (auto s = groupStock.constFind(g.key); s != groupStock.constEnd()) {
            g.stock = s.value();
            g.stockRow = true;
        }
        double open = 0;
        for (int i = m_askStart[k]; i < m_askStart[k + 1]; ++i) {
            Ask& a = m_asks[size_t(i)];
            if (a.held.exists) {
                const int left = a.held.asked - a.held.onorder - a.held.allotted - a.held.cancelled;
                a.open = a.held.inOrder ? 0 : std::max(0, left);
            } else {
                a.open = a.units;
            }
            open += a.open;
        }
        g.demand = open;
    }
}

std::vector<PeriodDemand::Share> PeriodDemand::shares(const QString& key, double received, DeliveryShare::Rule rule) const {
    std::vector<Share> out;
    const int k = drugOfKey(key);
    if (k < 0)
        return out;
    thread_local std::vector<double> asked;
    asked.clear();
    for (const Ask* a = asksBegin(k); a != asksEnd(k); ++a)
        asked.push_back(a->open);
    const std::vector<int> units = DeliveryShare::Share(asked, received, rule);
    out.reserve(units.size());
    size_t i = 0;
    for (const Ask* a = asksBegin(k); a != asksEnd(k); ++a, ++i)
        out.push_back({&orders[size_t(a->order)], double(a->open), units[i]});
    return out;
}
