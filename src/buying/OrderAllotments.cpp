#include "buying/OrderAllotments.h"

#include "buying/DeliveryShare.h"
#include "data/DrugNameKey.h"
#include "data/ModGFun.h"

#include <QHash>
#include <algorithm>

OrderAllotments OrderAllotments::Of(const std::vector<OrderLines::Line>& lines,
                                    const std::vector<BuyingStore::LineState>& states, const QSet<QString>& taken) {
    struct Left {
        long long allotted = 0, cancelled = 0;
    };
    QHash<QString, Left> left; // units still to hand to lines of the drug
    for (const BuyingStore::LineState& s : states) {
        left[s.drugkey].allotted += s.allotted;
        left[s.drugkey].cancelled += s.cancelled;
    }
    OrderAllotments out;
    float sum = 0;
    for (const OrderLines::Line& l : lines) {
        Line r;
        r.asked = ModGFun::Val(l.drug.isEmpty() ? QStringView() : QStringView(l.quantity));
        r.delivered = r.asked;
        const QString key = l.drug.isEmpty() ? QString() : DrugNameKey(l.drug);
        if (auto it = left.find(key); !key.isEmpty() && (it != left.end() || taken.contains(key))) {
            long long units = DeliveryShare::AskedUnits(r.asked);
            long long give = 0, gone = 0;
            if (it != left.end()) {
                give = std::clamp<long long>(it->allotted, 0, units);
                it->allotted -= give;
                gone = std::clamp<long long>(it->cancelled, 0, units - give);
                it->cancelled -= gone;
            }
            r.allotted = int(give);
            r.cancelled = int(gone);
            r.delivered = double(give);
            out.any = true;
        }
        r.value = l.drug.isEmpty() ? 0.0f : OrderLines::LineValue(r.delivered, l.price, l.discount);
        sum += r.value;
        out.lines.push_back(r);
    }
    out.delivered = OrderLines::ValueOfSum(sum);
    return out;
}
