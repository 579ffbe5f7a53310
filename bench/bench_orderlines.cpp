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

static void orderlines_decode(benchmark::State& state) {
    const QString text = OrderLines::Encode(fullOrder());
    FlexGrid g(1, 5);
    for (auto _ : state) {
        OrderLines::DrugFieldToFlex(g, text, true);
        benchmark::DoNotOptimize(g.TextMatrix(100, 0));
    }
}
BENCHMARK(orderlines_decode)->Unit(benchmark::kMicrosecond);

static void orderlines_value(benchmark::State& state) {
    FlexGrid g(1, 5);
    OrderLines::DrugFieldToFlex(g, OrderLines::Encode(fullOrder()), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(OrderLines::OrderValue(g).cash);
}
BENCHMARK(orderlines_value)->Unit(benchmark::kMicrosecond);
