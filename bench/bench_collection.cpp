// Opening the collected-orders window over a large order table against reading the table raw.
#include "BenchSummary.h"
#include "RawRead.h"
#include "TestDb.h"
#include "collection/FormBuyCollect.h"
#include "collection/ModOmla.h"
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
double g_openMs = 0;
double g_openCpuMs = 0;

bool prepare() {
    static bool ready = [] {
        static QTemporaryDir bookDir;
        if (!TestDb::open(QStringLiteral("sqlite")))
            return false;
        std::vector<OrderLines::Line> lines;
        for (int i = 0; i < OrderLines::Slots; ++i)
            lines.push_back({QStringLiteral("دواء تجريبي رقم %1 اقراص").arg(i), QString::number(i % 7 + 1),
                             QString::number(10.5 + i), QString::number(i % 30)});
        const QString text = OrderLines::Encode(lines);
        TestDb::exec(QStringLiteral("BEGIN"));
        for (int i = 0; i < Orders; ++i) {
            const QString id =
                QStringLiteral("26%1%2").arg(i % 12 + 1, 2, 10, QChar('0')).arg(i, 8, 10, QChar('0'));
            TestDb::exec(
                QStringLiteral("INSERT INTO bown2 VALUES ('%1','%2','2612%3','101530','010%4','مركز %5',"
                               "'kafrelsheikh',101,NULL,NULL,NULL)")
                    .arg(text, id)
                    .arg(i % 28 + 1, 2, 10, QChar('0'))
                    .arg(i % 1500, 8, 10, QChar('0'))
                    .arg(i % 10));
        }
        TestDb::exec(QStringLiteral("COMMIT"));
        ModOmla::setBookFolder(bookDir.path());
        ModOmla::ClientBook.clear();
        for (int n = 1; n <= ModOmla::BookSize; ++n)
            ModOmla::ClientBook.setEntry(n, {QStringLiteral("صيدلية رقم %1").arg(n),
                                             {},
                                             QStringLiteral("010%1").arg(n - 1, 8, 10, QChar('0'))});
        return ModOmla::SaveClientBook().ok && ModOmla::LoadClientBook().ok && ModSQL::ConnectServer();
    }();
    return ready;
}
} // namespace

static void collection_open_10k(benchmark::State& state) {
    if (!prepare()) {
        state.SkipWithError("no database");
        return;
    }
    QElapsedTimer t;
    qint64 total = 0;
    const double cpu0 = RawRead::cpuMs();
    for (auto _ : state) {
        t.start();
        FormBuyCollect w;
        benchmark::DoNotOptimize(w.XXX->grid().Rows());
        total += t.nsecsElapsed();
    }
    g_openMs = double(total) / 1e6 / double(state.iterations());
    g_openCpuMs = (RawRead::cpuMs() - cpu0) / double(state.iterations());
}
BENCHMARK(collection_open_10k)->Unit(benchmark::kMillisecond)->Iterations(5);

// Every field of every row through Qt's own query, as the list needs them.
static void collection_raw_read_10k(benchmark::State& state) {
    if (!prepare()) {
        state.SkipWithError("no database");
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(QStringLiteral("brentoval-server"), false);
    QElapsedTimer t;
    qint64 total = 0;
    const double cpu0 = RawRead::cpuMs();
    for (auto _ : state) {
        t.start();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.exec(QStringLiteral("SELECT * FROM bown2"));
        qsizetype chars = 0;
        while (q.next())
            for (int i = 0; i < 11; ++i)
                chars += q.value(i).toString().size();
        benchmark::DoNotOptimize(chars);
        total += t.nsecsElapsed();
    }
    const double rawMs = double(total) / 1e6 / double(state.iterations());
    const double rawCpuMs = (RawRead::cpuMs() - cpu0) / double(state.iterations());
    // The machine is shared: the processor-time ratio is the steadier of the two.
    if (g_openMs > 0 && rawMs > 0)
        BenchSummary::add("collection_open_vs_raw_read", g_openMs / rawMs, "x");
    if (g_openCpuMs > 0 && rawCpuMs > 0)
        BenchSummary::add("collection_open_vs_raw_read_cpu", g_openCpuMs / rawCpuMs, "x");
}
BENCHMARK(collection_raw_read_10k)->Unit(benchmark::kMillisecond)->Iterations(5);
