// Purchase orders drafted from the open lines of a period of 10,000 full orders (a fifth of them
// taken up already, some still on order) over a catalogue of 20,000 drugs, against Qt's own read of
// the same orders, and of everything the plan reads; on the embedded engine and, when the
// PostgreSQL cluster of `make bench` is up, on a client-server one. And one delivery of 1,000
// drugs shared among 10,000 orders.
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
#include <ctime>

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

// Rows a hundred to a statement: over a network one statement a row takes minutes.
class Inserts {
public:
    explicit Inserts(QString head) : m_head(std::move(head)) {}
    ~Inserts() { flush(); }
    void add(const QString& row) {
        m_rows << row;
        if (m_rows.size() == 100)
            flush();
    }
    void flush() {
        if (!m_rows.isEmpty())
            TestDb::exec(m_head + QStringLiteral(" VALUES ") + m_rows.join(u','));
        m_rows.clear();
    }

private:
    QString m_head;
    QStringList m_rows;
};

bool prepare(const QString& backend) {
    if (!TestDb::open(backend))
        return false;
    TestDb::exec(QStringLiteral("BEGIN"));
    {
        Inserts drugs(QStringLiteral("INSERT INTO bowndrugs (drug,price,disc,stock)"));
        for (int k = 0; k < Catalogue; ++k)
            drugs.add(QStringLiteral("(%1,'%2','%3','%4')").arg(ModSQL::SqlQuote(drugName(k))).arg(10.5 + k).arg(k % 30).arg(k % 50));
        Inserts offers(QStringLiteral("INSERT INTO grp_offers (wholesaler,drug,discount,offerdate)"));
        for (int w = 1; w <= 5; ++w) {
            TestDb::exec(QStringLiteral("INSERT INTO grp_wholesalers VALUES ('%1','مخزن %1','040','طنطا')").arg(w));
            for (int k = w; k < Catalogue; k += 4)
                offers.add(QStringLiteral("('%1',%2,'%3','2026120%4')")
                               .arg(w)
                               .arg(ModSQL::SqlQuote(drugName(k)))
                               .arg((k * w) % 25)
                               .arg(w));
        }
        Inserts orders(QStringLiteral("INSERT INTO bown2"));
        for (int o = 0; o < Orders; ++o)
            orders.add(QStringLiteral("(%1,'26120%2%3','26120%2','101530','010%4','مركز','kafrelsheikh',101,NULL,NULL,NULL)")
                           .arg(ModSQL::SqlQuote(orderLines(o)))
                           .arg(o % 7 + 1)
                           .arg(o, 7, 10, QChar('0'))
                           .arg(o % 1500, 8, 10, QChar('0')));
        // Every fifth order's lines taken up: half of their units allotted, the rest on order.
        Inserts held(QStringLiteral("INSERT INTO grp_orderlines (orderid,drugkey,drug,tel,asked,onorder,allotted,cancelled,"
                                    "poid,lineseq)"));
        for (int o = 0; o < Orders; o += 5)
            for (const OrderLines::Line& l : OrderLines::Decode(orderLines(o))) {
                if (l.drug.isEmpty())
                    continue;
                const int asked = int(l.quantity.toDouble());
                held.add(QStringLiteral("('26120%1%2',%3,%4,'0100','%5','%6','%7','0','B/1','1')")
                             .arg(o % 7 + 1)
                             .arg(o, 7, 10, QChar('0'))
                             .arg(ModSQL::SqlQuote(DrugNameKey(l.drug)), ModSQL::SqlQuote(l.drug))
                             .arg(asked)
                             .arg(asked - asked / 2)
                             .arg(asked / 2));
            }
        Inserts stock(QStringLiteral("INSERT INTO grp_stock (drugkey,drug,quantity)"));
        for (int k = 0; k < Ordered; k += 3)
            stock.add(QStringLiteral("(%1,%2,'%3')").arg(ModSQL::SqlQuote(DrugNameKey(drugName(k))), ModSQL::SqlQuote(drugName(k))).arg(k % 9));
    }
    TestDb::exec(QStringLiteral("COMMIT"));
    return ModSQL::ConnectServer();
}
} // namespace

// Rounds of one draft and one raw read in turn; the figure is the median ratio.
static void purchaseOrders(benchmark::State& state, const char* backend, const char* suffix) {
    if (QLatin1String(backend) != QLatin1String("sqlite") && qEnvironmentVariableIsEmpty("BRENTOVAL_PG_STATE")) {
        state.SkipWithError("no PostgreSQL cluster: make bench starts one");
        return;
    }
    if (!prepare(QLatin1String(backend))) {
        state.SkipWithError("no database");
        return;
    }
    // CPU time beside the clock's: on a machine others share, the clock also counts their work.
    std::vector<double> made, raw, rawAll, madeCpu, rawAllCpu;
    // Every unit the orders ask, to see that the plan leaves out those taken up.
    double openUnits = 0;
    for (const PeriodDemand::Drug& d : PeriodDemand::Read(Week).drugs)
        openUnits += d.demand;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const std::clock_t cpu = std::clock();
        OfferBook book;
        const PeriodDemand demand = BuyingStore::ReadOpenDemand(Week, &book);
        const PurchasePlan plan = PurchasePlan::Make(demand, book);
        const auto orders = plan.orders(book);
        made.push_back(double(t.nsecsElapsed()) / 1e6);
        madeCpu.push_back(double(std::clock() - cpu));
        double open = 0;
        for (const PeriodDemand::Drug& d : demand.drugs)
            open += d.demand;
        if (int(demand.orders.size()) != Orders || orders.size() != 5 || int(plan.lines().size()) != Ordered ||
            !(open > 0) || open == openUnits)
            state.SkipWithError("demand not read whole, or the lines taken up not left out");
        const QString sent = GroupDemand::OrdersStatement(Week);
        const std::clock_t rawCpu = std::clock();
        raw.push_back(RawRead::ms(sent));
        rawAll.push_back(raw.back() + RawRead::ms(QStringLiteral("SELECT * FROM bowndrugs")) +
                         RawRead::ms(QStringLiteral("SELECT wholesaler,name,phone,district FROM grp_wholesalers")) +
                         RawRead::ms(QStringLiteral("SELECT wholesaler,drug,discount,offerdate FROM grp_offers")) +
                         RawRead::ms(QStringLiteral("SELECT orderid,drugkey,asked,onorder,allotted,cancelled,poid FROM "
                                                    "grp_orderlines WHERE orderid IN (SELECT orderid FROM bown2") +
                                     sent.mid(sent.indexOf(QLatin1String(" WHERE "))) + u')') +
                         RawRead::ms(QStringLiteral("SELECT drugkey,quantity FROM grp_stock")));
        rawAllCpu.push_back(double(std::clock() - rawCpu));
    }
    std::vector<double> ratios, ratiosAll, ratiosCpu;
    for (size_t i = 0; i < made.size(); ++i) {
        ratios.push_back(made[i] / raw[i]);
        ratiosAll.push_back(made[i] / rawAll[i]);
        ratiosCpu.push_back(madeCpu[i] / rawAllCpu[i]);
    }
    TestDb::closeAll();
    const std::string end = suffix;
    BenchSummary::add("purchase_orders_ms" + end, RawRead::median(made), "ms");
    BenchSummary::add("purchase_orders_vs_raw_read" + end, RawRead::median(ratios), "x");
    // The orders, the catalogue, the wholesalers and their offers, the lines' state and the group's
    // stock: all a plan reads.
    BenchSummary::add("purchase_plan_vs_raw_reads" + end, RawRead::median(ratiosAll), "x");
    // Both threads of the plan; on PostgreSQL the server's work is in neither.
    BenchSummary::add("purchase_plan_cpu_vs_raw_reads" + end, RawRead::median(ratiosCpu), "x");
}
static void purchase_orders_10k(benchmark::State& state) {
    purchaseOrders(state, "sqlite", "");
}
static void purchase_orders_10k_pg(benchmark::State& state) {
    purchaseOrders(state, "postgres", "_pg");
}
BENCHMARK(purchase_orders_10k)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(purchase_orders_10k_pg)->Unit(benchmark::kMillisecond)->Iterations(5);

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
    std::vector<double> ms;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto rule = round++ % 2 ? DeliveryShare::Rule::Proportional : DeliveryShare::Rule::EarliestFirst;
        long long given = 0;
        for (const PeriodDemand::Drug& d : demand.drugs)
            for (const auto& s : demand.shares(d.key, std::floor(d.demand / 2), rule))
                given += s.allotted;
        benchmark::DoNotOptimize(given);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    BenchSummary::add("share_delivery_1k_10k_ms", RawRead::median(ms), "ms");
}
BENCHMARK(share_delivery_1k_10k)->Unit(benchmark::kMillisecond)->Iterations(10);
