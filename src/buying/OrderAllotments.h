#pragma once

#include "buying/BuyingStore.h"
#include "ordering/OrderLines.h"

#include <vector>

// An order's lines beside what its pharmacy is allotted from received purchase orders: the
// quantity asked, the quantity allotted, and the value of what will be delivered. A line whose drug
// has no allotment yet is delivered as asked. Drugs are matched by DrugNameKey; lines of one drug
// in one order share its allotment in line order.
struct OrderAllotments {
    struct Line {
        double asked = 0;
        int allotted = -1; // -1: nothing recorded for the drug yet
        double delivered = 0; // quantity that will be delivered
        float value = 0;      // line value of the delivered quantity
    };
    std::vector<Line> lines; // one per order line, in order
    OrderLines::Value delivered; // cash and deferred value of what will be delivered

    static OrderAllotments Of(const std::vector<OrderLines::Line>& lines,
                              const std::vector<BuyingStore::Allotment>& allotments);
};
