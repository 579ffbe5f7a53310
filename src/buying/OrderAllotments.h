#pragma once

#include "buying/BuyingStore.h"
#include "ordering/OrderLines.h"

#include <QSet>
#include <vector>

// An order's lines beside the state the server holds of them: the quantity asked, the units
// allotted (from receipts and from the group's stock), the units cancelled (not available), and
// the value of what will be delivered. A line of a drug the group buys but has not allotted yet
// shows 0 allotted; only a drug the group has never taken up is delivered as asked. Drugs are
// matched by DrugNameKey; lines of one drug in one order share its state in line order.
struct OrderAllotments {
    struct Line {
        double asked = 0;
        int allotted = -1;  // -1: a drug the group has never taken up
        int cancelled = 0;  // units not available
        double delivered = 0; // quantity that will be delivered
        float value = 0;      // line value of the delivered quantity
    };
    std::vector<Line> lines; // one per order line, in order
    OrderLines::Value delivered; // cash and deferred value of what will be delivered
    bool any = false;            // some line is the group's

    // states: the order's own lines; taken: every drug key the group has taken up.
    static OrderAllotments Of(const std::vector<OrderLines::Line>& lines, const std::vector<BuyingStore::LineState>& states,
                              const QSet<QString>& taken);
};
