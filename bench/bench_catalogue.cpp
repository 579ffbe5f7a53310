// The catalogue editor over a 20,000-drug catalogue on SQLite: opening the window (read, ratio,
// column moves, name sort) against Qt's own read of the table, and re-sorting it from its buttons.
#include "BenchSummary.h"
#include "RawRead.h"
#include "TestDb.h"
#include "catalogue/DrugsCatalogue.h"
#include "catalogue/FormDrugsEditor.h"
#include "data/ModSQL.h"
#include "ui/FlexGridView.h"

#include <QPushButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {
bool catalogueReady(int drugs) {
    static int ready = 0;
    if (ready == drugs)
        return true;
    if (!TestDb::open(QStringLiteral("sqlite")))
        return false;
    constexpr int Chunk = 400;
    for (int start = 0; start < drugs; start += Chunk) {
        QString sql = QStringLiteral(
            "INSERT INTO bowndrugs (drug,price,disc,lastdate,stock,demanded,highistdiskout) VALUES");
        for (int i = start; i < std::min(drugs, start + Chunk); ++i) {
            const int k = (i * 7919) % drugs;
            sql += (i > start ? QStringLiteral(",(") : QStringLiteral("(")) +
                   ModSQL::SqlQuote(QStringLiteral("Drug %1 %2").arg(k).arg(i % 3 ? "tablets" : "syrup")) +
                   u',' + ModSQL::SqlQuote(QString::number((k * 31) % 997 + 0.5)) + u',' +
                   ModSQL::SqlQuote(QString::number(k % 25)) + u',' +
                   (i % 5 ? ModSQL::SqlQuote(QString::number(170101 + k % 900)) : QStringLiteral("NULL")) +
                   u',' + ModSQL::SqlQuote(QString::number(k % 40)) + u',' +
                   ModSQL::SqlQuote(QString::number(k % 17)) + u',' +
                   (i % 4 ? QStringLiteral("NULL") : ModSQL::SqlQuote(QString::number(k % 30))) + u')';
        }
        if (!TestDb::exec(sql))
            return false;
    }
    ready = drugs;
    return ModSQL::ConnectServer();
}

} // namespace

// Opening only (closing the window is not part of it), each round after a raw read of the same rows.
static void catalogue_open_20k(benchmark::State& state) {
    if (!catalogueReady(20000)) {
        state.SkipWithError("no catalogue");
        return;
    }
    std::vector<double> raw, open;
    for (auto _ : state) {
        raw.push_back(RawRead::ms(QStringLiteral("SELECT * FROM bowndrugs")));
        const auto t0 = std::chrono::steady_clock::now();
        auto w = std::make_unique<FormDrugsEditor>();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (w->Xxx1->grid().Rows() != 20001)
            state.SkipWithError("catalogue not read whole");
        open.push_back(ms);
        state.SetIterationTime(ms / 1000);
    }
    BenchSummary::add("catalogue_editor_open_vs_raw_read", RawRead::median(open) / RawRead::median(raw), "x");
}
BENCHMARK(catalogue_open_20k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

static void catalogue_resort(benchmark::State& state, QPushButton* FormDrugsEditor::*button) {
    if (!catalogueReady(20000)) {
        state.SkipWithError("no catalogue");
        return;
    }
    FormDrugsEditor w;
    for (auto _ : state) {
        state.PauseTiming();
        w.Command9->click(); // back to name order, as after opening
        state.ResumeTiming();
        (w.*button)->click();
    }
}
static void catalogue_sort_shortage_20k(benchmark::State& s) {
    catalogue_resort(s, &FormDrugsEditor::Command10);
}
static void catalogue_sort_price_20k(benchmark::State& s) {
    catalogue_resort(s, &FormDrugsEditor::Command8);
}
static void catalogue_sort_lastchange_20k(benchmark::State& s) {
    catalogue_resort(s, &FormDrugsEditor::Command6);
}
BENCHMARK(catalogue_sort_shortage_20k)->Unit(benchmark::kMillisecond);
BENCHMARK(catalogue_sort_price_20k)->Unit(benchmark::kMillisecond);
BENCHMARK(catalogue_sort_lastchange_20k)->Unit(benchmark::kMillisecond);

static void catalogue_sort_name_20k(benchmark::State& state) {
    if (!catalogueReady(20000)) {
        state.SkipWithError("no catalogue");
        return;
    }
    FormDrugsEditor w;
    for (auto _ : state) {
        state.PauseTiming();
        w.Command8->click();
        state.ResumeTiming();
        w.Command9->click();
    }
}
BENCHMARK(catalogue_sort_name_20k)->Unit(benchmark::kMillisecond);
