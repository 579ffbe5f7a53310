// Grid operations on a catalogue-sized grid: sorts, finding a row, colouring one row.
#include "data/FlexGrid.h"
#include "ui/FLXMod.h"

#include <benchmark/benchmark.h>
#include <chrono>

static const QStringList Forms = {QStringLiteral("tablets"), QStringLiteral("Syrup"), QStringLiteral("amp."),
                                  QStringLiteral("Cream 5%")};

// Drug-list-like texts: mixed case, digits, punctuation; numbers with decimals in column 1.
static void fill(FlexGrid& g, int n, bool arabic = false) {
    std::vector<QStringList> rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int k = (i * 7919) % n;
        QString name =
            (k % 2 ? QStringLiteral("Drug %1 %2") : QStringLiteral("drug-%1 %2")).arg(k).arg(Forms.at(i % 4));
        if (arabic && i % 2)
            name = QStringLiteral("دواء %1 شراب").arg(k);
        rows.push_back({name, QString::number((i * 31) % 997 + 0.5), QStringLiteral("x")});
    }
    g.loadReversed(3, std::move(rows));
}

static void sortBench(benchmark::State& state, int col, const char* mode, bool arabic) {
    FlexGrid g;
    for (auto _ : state) {
        fill(g, 20000, arabic);
        // Only the sort is timed: refilling the grid costs more than sorting it.
        const auto start = std::chrono::steady_clock::now();
        FLXMod::FlexSort(g, col, QString::fromLatin1(mode));
        benchmark::DoNotOptimize(g.TextMatrix(1, col));
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

static void sort_text_20k(benchmark::State& state) {
    sortBench(state, 0, "AZ", false);
}
BENCHMARK(sort_text_20k)->UseManualTime()->Unit(benchmark::kMillisecond);

// Half the rows Arabic: the full collation for every key.
static void sort_text_arabic_20k(benchmark::State& state) {
    sortBench(state, 0, "ZA", true);
}
BENCHMARK(sort_text_arabic_20k)->UseManualTime()->Unit(benchmark::kMillisecond);

static void sort_number_20k(benchmark::State& state) {
    sortBench(state, 1, "321", false);
}
BENCHMARK(sort_number_20k)->UseManualTime()->Unit(benchmark::kMillisecond);

static void find_like_20k(benchmark::State& state) {
    FlexGrid g;
    fill(g, 20000);
    for (auto _ : state)
        benchmark::DoNotOptimize(FLXMod::FlexFindLike(g, QStringLiteral("*rug?1#3 [s-t]*"), 0));
}
BENCHMARK(find_like_20k)->Unit(benchmark::kMillisecond);

static void color_row(benchmark::State& state) {
    FlexGrid g;
    fill(g, 20000);
    g.setCols(12);
    quint32 color = 0;
    for (auto _ : state) {
        FLXMod::FlexColorRow(g, 10000, color);
        color ^= 0xFF; // a real change every time
    }
}
BENCHMARK(color_row)->Unit(benchmark::kMicrosecond);
