// Opening the group demand window over 10,000 full orders against Qt's own forward-only read of
// the same rows.
#include "BenchSummary.h"
#include "RawRead.h"
#include "TestDb.h"
#include "collection/BuyCollectCore.h"
#include "demand/FormGroupDemand.h"
#include "collection/ModOmla.h"
#include "data/Clock.h"
#include "data/ModSQL.h"
#include "ordering/OrderLines.h"
#include "ui/FlexGridView.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Orders = 10000;
constexpr int Drugs = 400;
double g_rawCpuMs = 0; // the raw read's median, for the adding's figure

QString drugName(int k) {
    return k % 2 ? QStringLiteral("دواء تجريبي رقم %1 اقراص").arg(k) : QStringLiteral("Test drug %1 tablets").arg(k);
}

// Order o's lines: consecutive orders hold different drugs in a slot.
QString orderText(int o) {
    std::vector<OrderLines::Line> lines;
    for (int i = 0; i < OrderLines::Slots; ++i) {
        const int k = (i * 4 + o * 13) % Drugs;
        lines.push_back({drugName(k), QString::number((o + i) % 7 + 1), QString::number(10.5 + k),
                         QString::number(k % 30)});
    }
    return OrderLines::Encode(lines);
}

// Every order of one week, sent, 100 lines each.
bool prepare() {
    static QTemporaryDir bookDir;
    if (!TestDb::open(QStringLiteral("sqlite")))
        return false;
    Clock::set([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0)); });
    TestDb::exec(QStringLiteral("BEGIN"));
    for (int k = 0; k < Drugs; ++k)
        TestDb::addDrug(drugName(k), QString::number(10.5 + k), QString::number(k % 30), {}, {}, {},
                        QString::number(k % 35));
    for (int o = 0; o < Orders; ++o) {
        TestDb::exec(QStringLiteral("INSERT INTO bown2 VALUES (%1,'26120%2%3','26120%2','101530','010%4','مركز %5',"
                                    "'kafrelsheikh',101,NULL,NULL,NULL)")
                         .arg(ModSQL::SqlQuote(orderText(o)))
                         .arg(o % 7 + 1)
                         .arg(o, 7, 10, QChar('0'))
                         .arg(o % 1500, 8, 10, QChar('0'))
                         .arg(o % 10));
    }
    TestDb::exec(QStringLiteral("COMMIT"));
    ModOmla::setBookFolder(bookDir.path());
    ModOmla::ClientBook.clear();
    for (int n = 1; n <= ModOmla::BookSize; ++n)
        ModOmla::ClientBook.setEntry(
            n, {QStringLiteral("صيدلية رقم %1").arg(n), {}, QStringLiteral("010%1").arg(n - 1, 8, 10, QChar('0'))});
    return ModSQL::ConnectServer();
}

// The window's statement through Qt's own query, every field the window reads of every row as
// text (the statement's last field, submitted, only chooses the rows).
qsizetype rawRead(const QString& sql) {
    QSqlQuery q(QSqlDatabase::database(QStringLiteral("brentoval-server"), false));
    q.setForwardOnly(true);
    q.exec(sql);
    qsizetype chars = 0;
    while (q.next())
        for (int i = 0; i < 5; ++i)
            chars += q.value(i).toString().size();
    return chars;
}
} // namespace

// Rounds of one raw read and one opening in turn, so a machine busy with other work slows both
// alike; medians of the clock and of the processor time (the opening's includes its adding thread
// and the window's closing).
static void group_demand_open_10k(benchmark::State& state) {
    if (!prepare()) {
        state.SkipWithError("no database");
        return;
    }
    const QString sql = GroupDemand::OrdersStatement(GroupDemand::DefaultPeriod(QDate(2026, 12, 7)));
    std::vector<double> rawMs, rawCpuMs, openMs, openCpuMs;
    QElapsedTimer t;
    for (auto _ : state) {
        state.PauseTiming();
        double cpu0 = RawRead::cpuMs();
        t.start();
        benchmark::DoNotOptimize(rawRead(sql));
        rawMs.push_back(double(t.nsecsElapsed()) / 1e6);
        rawCpuMs.push_back(RawRead::cpuMs() - cpu0);
        state.ResumeTiming();
        cpu0 = RawRead::cpuMs();
        t.start();
        {
            FormGroupDemand w;
            benchmark::DoNotOptimize(w.gridDemand->grid().Rows());
            openMs.push_back(double(t.nsecsElapsed()) / 1e6);
            if (w.gridDemand->grid().Rows() != Drugs + 2 || w.report().ordersRead() != Orders)
                state.SkipWithError("demand not read whole");
        }
        openCpuMs.push_back(RawRead::cpuMs() - cpu0);
    }
    const double raw = RawRead::median(rawMs);
    g_rawCpuMs = RawRead::median(rawCpuMs);
    BenchSummary::add("group_demand_raw_read_10k", raw, "ms");
    BenchSummary::add("group_demand_vs_raw_read", RawRead::median(openMs) / raw, "x");
    BenchSummary::add("group_demand_vs_raw_read_cpu", RawRead::median(openCpuMs) / g_rawCpuMs, "x");
}
BENCHMARK(group_demand_open_10k)->Unit(benchmark::kMillisecond)->Iterations(9);

// The adding up alone, the second thread's share of opening the window: the same orders' texts
// from memory into the accumulator and its report.
static void group_demand_adding_10k(benchmark::State& state) {
    struct Row {
        QString lines, id, date, tel, markaz;
    };
    std::vector<Row> rows;
    rows.reserve(Orders);
    for (int o = 0; o < Orders; ++o)
        rows.push_back({orderText(o), QStringLiteral("26120%1%2").arg(o % 7 + 1).arg(o, 7, 10, QChar('0')),
                        QStringLiteral("26120%1").arg(o % 7 + 1),
                        QStringLiteral("010%1").arg(o % 1500, 8, 10, QChar('0')), QStringLiteral("مركز %1").arg(o % 10)});
    const double cpu0 = RawRead::cpuMs();
    for (auto _ : state) {
        GroupDemand::Accumulator acc;
        for (int k = 0; k < Drugs; ++k)
            acc.addCatalogueRow(drugName(k), QString::number(10.5 + k), QString::number(k % 30), {});
        for (const Row& r : rows)
            acc.addOrder(r.lines, r.id, r.date, r.tel, r.markaz);
        const GroupDemand::Report report = acc.finish(GroupDemand::DefaultPeriod(QDate(2026, 12, 7)));
        if (int(report.drugs.size()) != Drugs || report.ordersRead() != Orders)
            state.SkipWithError("demand not added whole");
    }
    const double addingCpuMs = (RawRead::cpuMs() - cpu0) / double(state.iterations());
    if (g_rawCpuMs > 0)
        BenchSummary::add("group_demand_adding_vs_raw_read_cpu", addingCpuMs / g_rawCpuMs, "x");
}
BENCHMARK(group_demand_adding_10k)->Unit(benchmark::kMillisecond)->Iterations(5);

