// Grid sorting on a catalogue-sized grid.
#include "data/FlexGrid.h"
#include "ui/FLXMod.h"

#include <benchmark/benchmark.h>

static void fill(FlexGrid& g, int n) {
    std::vector<QStringList> rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows.push_back({QStringLiteral("Drug %1 %2").arg((i * 7919) % n).arg(i % 3 ? "tablets" : "Syrup"),
                        QString::number((i * 31) % 997 + 0.5)});
    g.loadReversed(2, std::move(rows));
}

static void sort_text_20k(benchmark::State& state) {
    FlexGrid g;
    for (auto _ : state) {
        state.PauseTiming();
        fill(g, 20000);
        state.ResumeTiming();
        FLXMod::FlexSort(g, 0, QStringLiteral("AZ"));
    }
}
BENCHMARK(sort_text_20k)->Unit(benchmark::kMillisecond);

static void sort_number_20k(benchmark::State& state) {
    FlexGrid g;
    for (auto _ : state) {
        state.PauseTiming();
        fill(g, 20000);
        state.ResumeTiming();
        FLXMod::FlexSort(g, 1, QStringLiteral("321"));
    }
}
BENCHMARK(sort_number_20k)->Unit(benchmark::kMillisecond);
