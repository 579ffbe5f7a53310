// Encoding, decoding and valuing a full 100-line order.
#include "ordering/OrderLines.h"

#include <benchmark/benchmark.h>

static std::vector<OrderLines::Line> fullOrder() {
    std::vector<OrderLines::Line> lines;
    for (int i = 0; i < OrderLines::Slots; ++i)
        lines.push_back({QStringLiteral("Amoxicillin 500 mg caps %1").arg(i), QString::number(i % 7 + 1),
                         QStringLiteral("%1.75").arg(10 + i), QString::number(i % 15)});
    return lines;
}

static void orderlines_encode(benchmark::State& state) {
    const auto lines = fullOrder();
    for (auto _ : state)
        benchmark::DoNotOptimize(OrderLines::Encode(lines));
}
BENCHMARK(orderlines_encode)->Unit(benchmark::kMicrosecond);

// The one pass every reader makes: every field of the 100 lines found, as the group demand reads them.
static void orderlines_decode(benchmark::State& state) {
    const QString text = OrderLines::Encode(fullOrder());
    for (auto _ : state) {
        qsizetype chars = 0;
        OrderLines::ForEachSlot(text, [&](int, QStringView d, QStringView q, QStringView p, QStringView x) {
            chars += d.size() + q.size() + p.size() + x.size();
        });
        benchmark::DoNotOptimize(chars);
    }
}
BENCHMARK(orderlines_decode)->Unit(benchmark::kMicrosecond);

// The same made into 100 lines of texts (400 texts of their own).
static void orderlines_decode_lines(benchmark::State& state) {
    const QString text = OrderLines::Encode(fullOrder());
    for (auto _ : state)
        benchmark::DoNotOptimize(OrderLines::Decode(text));
}
BENCHMARK(orderlines_decode_lines)->Unit(benchmark::kMicrosecond);

// Cash and deferred value straight from the text, as the group demand reads them.
static void orderlines_value(benchmark::State& state) {
    const QString text = OrderLines::Encode(fullOrder());
    for (auto _ : state)
        benchmark::DoNotOptimize(OrderLines::OrderValue(QStringView(text)).cash);
}
BENCHMARK(orderlines_value)->Unit(benchmark::kMicrosecond);

// The windows' road: text into an order grid, and the value from the grid.
static void orderlines_to_grid(benchmark::State& state) {
    const QString text = OrderLines::Encode(fullOrder());
    FlexGrid g(1, 5);
    for (auto _ : state) {
        OrderLines::DrugFieldToFlex(g, text, true);
        benchmark::DoNotOptimize(g.TextMatrix(100, 0));
    }
}
BENCHMARK(orderlines_to_grid)->Unit(benchmark::kMicrosecond);

static void orderlines_value_grid(benchmark::State& state) {
    FlexGrid g(1, 5);
    OrderLines::DrugFieldToFlex(g, OrderLines::Encode(fullOrder()), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(OrderLines::OrderValue(g).cash);
}
BENCHMARK(orderlines_value_grid)->Unit(benchmark::kMicrosecond);
