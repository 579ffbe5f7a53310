// The order-lines decoder and the order value on any text a server column could hold.
#include "FuzzCheck.h"
#include "ordering/OrderLines.h"

#include <QString>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<OrderLines::Line> lines = OrderLines::Decode(text);
    FUZZ_CHECK(lines.size() == size_t(OrderLines::Slots));

    static FlexGrid grid(3, 5);
    OrderLines::DrugFieldToFlex(grid, text, size % 2 == 0);
    FUZZ_CHECK(grid.Rows() == OrderLines::Slots + 1);

    // Decoded fields hold no "^" or "|", so storing and reading again changes nothing.
    const QString stored = OrderLines::EncodeGrid(grid);
    FUZZ_CHECK(stored.startsWith(u'^') && stored.endsWith(u'|'));
    FUZZ_CHECK(stored.count(u'^') == OrderLines::Slots && stored.count(u'|') == 4 * OrderLines::Slots);
    FUZZ_CHECK(OrderLines::Decode(stored) == lines);
    FUZZ_CHECK(OrderLines::Encode(lines) == stored);

    const OrderLines::Value fromGrid = OrderLines::OrderValue(grid);
    const OrderLines::Value fromLines = OrderLines::OrderValue(lines);
    FUZZ_CHECK(fromGrid.cashText() == fromLines.cashText());
    FUZZ_CHECK(fromGrid.deferredText() == fromLines.deferredText());
    // Read straight from the text, without the fields made into texts: the same value.
    const OrderLines::Value fromText = OrderLines::OrderValue(QStringView(text));
    FUZZ_CHECK(fromText.cashText() == fromLines.cashText());
    FUZZ_CHECK(fromText.deferredText() == fromLines.deferredText());
    if (std::isfinite(fromLines.cash))
        FUZZ_CHECK(std::isfinite(fromLines.deferred) || std::fabs(fromLines.cash) > 1e307);
    return 0;
}
