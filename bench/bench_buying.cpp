// Purchase orders drafted from a period of 10,000 full orders over a catalogue of 20,000 drugs,
// against Qt's own read of the same orders; and one delivery of 1,000 drugs shared among 10,000
// orders.
#include "BenchSummary.h"
#include "RawRead.h"
#include "TestDb.h"
#include "buying/BuyingStore.h"
#include "buying/PeriodDemand.h"
#include "buying/PurchasePlan.h"
#include "data/DrugNameKey.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int Orders = 10000;
constexpr int Catalogue = 20000;
constexpr int Ordered = 1000; // drugs the orders hold
const GroupDemand::Period Week{QDate(2026, 12, 1), QDate(2026, 12, 7), true};

QString drugName(int k) {
    return k % 2 ? QStringLiteral("دواء تجريبي رقم %1 اقراص").arg(k) : QStringLiteral("Test drug %1 tablets").arg(k);
}

QString orderLines(int o) {
    std::vector<OrderLines::Line> lines;
    for (int i = 0; i < OrderLines::Slots; ++i) {
        const int k = (i * 7 + o * 13) % Ordered;
        lines.push_back({drugName(k), QString::number((o + i) % 7 + 1), QString::number(10.5 + k), QString::number(k % 30)});
    }
    return OrderLines::Encode(lines);
}

bool prepare() {
    if (!TestDb::open(QStringLiteral("sqlite")))
        return false;
    TestDb::exec(QStringLiteral("BEGIN"));
    for (int k = 0; k < Catalogue; ++k)
        TestDb::addDrug(drugName(k), QString::number(10.5 + k), QString::number(k % 30), {}, QString::number(k % 50));
    for (int w = 1; w <= 5; ++w) {
        TestDb::exec(QStringLiteral("INSERT INTO grp_wholesalers VALUES ('%1','مخزن %1','040','طنطا')").arg(w));
        for (int k = w; k < Catalogue; k += 4)
            TestDb::exec(QStringLiteral("INSERT INTO grp_offers VALUES ('%1',%2,'%3','2026120%4')")
                             .arg(w)
                             .arg(ModSQL::SqlQuote(drugName(k)))
                             .arg((k * w) % 25)
                             .arg(w));
    }
    for (int o = 0; o < Orders; ++o)
        TestDb::exec(QStringLiteral("INSERT INTO bown2 VALUES (%1,'26120%2%3','26120%2','101530','010%4','مركز',"
                                    "'kafrelsheikh',101,NULL,NULL,NULL)")
                         .arg(ModSQL::SqlQuote(orderLines(o)))
                         .arg(o % 7 + 1)
                         .arg(o, 7, 10, QChar('0'))
                         .arg(o % 1500, 8, 10, QChar('0')));
    TestDb::exec(QStringLiteral("COMMIT"));
    return ModSQL::ConnectServer();
}
} // namespace

// Rounds of one draft and one raw read in turn; the figure is the median ratio.
static void purchase_orders_10k(benchmark::State& state) {
    if (!prepare()) {
        state.SkipWithError("no database");
        return;
    }
    std::vector<double> made, raw;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const PeriodDemand demand = PeriodDemand::Read(Week);
        OfferBook book;
        QString e;
        BuyingStore::ReadOfferBook(book, &e);
        const PurchasePlan plan = PurchasePlan::Make(demand, book);
        const auto orders = plan.orders(book);
        made.push_back(double(t.nsecsElapsed()) / 1e6);
        if (int(demand.orders.size()) != Orders || orders.size() != 5 || int(plan.lines().size()) != Ordered)
            state.SkipWithError("demand not read whole");
        raw.push_back(RawRead::ms(GroupDemand::OrdersStatement(Week)));
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < made.size(); ++i)
        ratios.push_back(made[i] / raw[i]);
    BenchSummary::add("purchase_orders_ms", RawRead::median(made), "ms");
    BenchSummary::add("purchase_orders_vs_raw_read", RawRead::median(ratios), "x");
}
BENCHMARK(purchase_orders_10k)->Unit(benchmark::kMillisecond)->Iterations(5);

// Every drug arrives at half of what was asked and is shared by each rule in turn.
static void share_delivery_1k_10k(benchmark::State& state) {
    GroupDemand::Accumulator acc;
    for (int o = 0; o < Orders; ++o)
        acc.addOrder(orderLines(o), QStringLiteral("26120%1%2").arg(o % 7 + 1).arg(o, 7, 10, QChar('0')),
                     QStringLiteral("26120%1").arg(o % 7 + 1), QStringLiteral("010%1").arg(o), QStringLiteral("مركز"));
    const PeriodDemand demand = PeriodDemand::FromReport(acc.finish(Week), {});
    if (int(demand.drugs.size()) != Ordered) {
        state.SkipWithError("demand not built");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        const auto rule = round++ % 2 ? DeliveryShare::Rule::Proportional : DeliveryShare::Rule::EarliestFirst;
        long long given = 0;
        for (const PeriodDemand::Drug& d : demand.drugs)
            for (const auto& s : demand.shares(d.key, std::floor(d.demand / 2), rule))
                given += s.allotted;
        benchmark::DoNotOptimize(given);
    }
}
BENCHMARK(share_delivery_1k_10k)->Unit(benchmark::kMillisecond)->Iterations(10);
