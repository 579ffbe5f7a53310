#include "buying/PurchasePlan.h"

#include "data/TextOrder.h"

#include <algorithm>
#include <cmath>

double PurchasePlan::Line::value() const {
    return quantity * price * (100.0 - discount) / 100.0;
}

double PurchasePlan::ToBuy(double demand, double stock) {
    const double need = demand - (std::isfinite(stock) && stock > 0 ? stock : 0);
    if (!(need > 0) || !std::isfinite(need))
        return 0;
    // A fraction asked is bought as a whole unit; a hair above a whole number is that number.
    return std::ceil(need - 1e-9);
}

PurchasePlan PurchasePlan::Make(const PeriodDemand& demand, const OfferBook& offers) {
    PurchasePlan p;
    p.period = demand.period;
    p.fingerprint = demand.fingerprint;
    p.m_lines.reserve(demand.drugs.size());
    for (const PeriodDemand::Drug& d : demand.drugs) {
        // Lines all on order, allotted or given up leave nothing to plan.
        if (!(d.demand > 0))
            continue;
        Line l;
        l.key = d.key;
        l.drug = d.name;
        l.demand = d.demand;
        l.stock = d.stock;
        l.quantity = ToBuy(d.demand, d.stock);
        l.stockUsed = d.demand - l.quantity;
        l.price = d.price;
        if (const Offer* o = offers.best(d.key)) {
            l.wholesaler = o->wholesaler;
            l.discount = o->discount;
        }
        p.m_lines.push_back(l);
    }
    return p;
}

std::vector<PurchasePlan::Order> PurchasePlan::orders(const OfferBook& offers) const {
    std::vector<Order> out;
    for (int i = 0; i < int(m_lines.size()); ++i) {
        const Line& l = m_lines[size_t(i)];
        if (l.wholesaler == 0 || !(l.quantity > 0))
            continue;
        auto it = std::find_if(out.begin(), out.end(), [&](const Order& o) { return o.wholesaler == l.wholesaler; });
        if (it == out.end()) {
            out.push_back({l.wholesaler, {}, 0});
            it = out.end() - 1;
        }
        it->lines.push_back(i);
        it->total += l.value();
    }
    for (Order& o : out)
        std::sort(o.lines.begin(), o.lines.end(),
                  [this](int a, int b) { return TextOrder::less(m_lines[size_t(a)].drug, m_lines[size_t(b)].drug); });
    std::sort(out.begin(), out.end(), [&](const Order& a, const Order& b) {
        const int c = TextOrder::compare(offers.wholesalerName(a.wholesaler), offers.wholesalerName(b.wholesaler));
        return c != 0 ? c < 0 : a.wholesaler < b.wholesaler;
    });
    return out;
}

std::vector<int> PurchasePlan::unoffered() const {
    std::vector<int> out;
    for (int i = 0; i < int(m_lines.size()); ++i)
        if (m_lines[size_t(i)].wholesaler == 0)
            out.push_back(i);
    std::sort(out.begin(), out.end(),
              [this](int a, int b) { return TextOrder::less(m_lines[size_t(a)].drug, m_lines[size_t(b)].drug); });
    return out;
}

double PurchasePlan::total() const {
    double t = 0;
    for (const Line& l : m_lines)
        if (l.wholesaler != 0)
            t += l.value();
    return t;
}

bool PurchasePlan::setQuantity(int line, double quantity) {
    if (line < 0 || line >= int(m_lines.size()) || !(quantity >= 0) || !std::isfinite(quantity) ||
        m_lines[size_t(line)].cancelled)
        return false;
    m_lines[size_t(line)].quantity = quantity;
    return true;
}

bool PurchasePlan::setCancelled(int line, bool cancelled) {
    if (line < 0 || line >= int(m_lines.size()))
        return false;
    Line& l = m_lines[size_t(line)];
    l.cancelled = cancelled;
    l.quantity = cancelled ? 0 : ToBuy(l.demand, l.stock);
    l.stockUsed = cancelled ? 0 : l.demand - l.quantity;
    return true;
}

bool PurchasePlan::moveTo(int line, int wholesaler, const OfferBook& offers) {
    if (line < 0 || line >= int(m_lines.size()))
        return false;
    const auto& ws = offers.wholesalers();
    if (!std::any_of(ws.begin(), ws.end(), [&](const Wholesaler& w) { return w.id == wholesaler; }))
        return false;
    Line& l = m_lines[size_t(line)];
    l.wholesaler = wholesaler;
    const Offer* o = offers.offerOf(wholesaler, l.key);
    l.discount = o ? o->discount : 0;
    return true;
}
