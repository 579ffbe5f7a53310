#include "buying/OrderAllotments.h"

#include "data/DrugNameKey.h"
#include "data/ModGFun.h"

#include <QHash>
#include <algorithm>

OrderAllotments OrderAllotments::Of(const std::vector<OrderLines::Line>& lines,
                                    const std::vector<BuyingStore::Allotment>& allotments) {
    QHash<QString, long long> left; // units still to hand to lines of the drug
    for (const BuyingStore::Allotment& a : allotments)
        left[DrugNameKey(a.drug)] += a.allotted;
    OrderAllotments out;
    float sum = 0;
    for (const OrderLines::Line& l : lines) {
        Line r;
        r.asked = ModGFun::Val(l.drug.isEmpty() ? QStringView() : QStringView(l.quantity));
        r.delivered = r.asked;
        if (auto it = left.find(DrugNameKey(l.drug)); !l.drug.isEmpty() && it != left.end()) {
            const long long give = std::clamp<long long>(it.value(), 0, (long long)std::max(0.0, r.asked));
            r.allotted = int(give);
            r.delivered = double(give);
            it.value() -= give;
        }
        r.value = l.drug.isEmpty() ? 0.0f : OrderLines::LineValue(r.delivered, l.price, l.discount);
        sum += r.value;
        out.lines.push_back(r);
    }
    out.delivered = OrderLines::ValueOfSum(sum);
    return out;
}
