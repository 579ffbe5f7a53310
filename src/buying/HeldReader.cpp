#include "buying/HeldReader.h"

#include <algorithm>

HeldReader::HeldReader(PeriodDemand& demand) : m_demand(demand) {
    // Each row finds its ask by the order's place and the drug's, not each ask its row by a text
    // made for it: the rows are a fraction of the asks. Orders sharing an id share its rows.
    const auto& orders = demand.orders;
    m_firstOrder.reserve(qsizetype(orders.size()));
    m_nextSameId.assign(orders.size(), -1);
    for (int o = int(orders.size()) - 1; o >= 0; --o) {
        auto it = m_firstOrder.find(orders[size_t(o)].id);
        if (it == m_firstOrder.end()) {
            m_firstOrder.insert(orders[size_t(o)].id, o);
        } else {
            m_nextSameId[size_t(o)] = it.value();
            it.value() = o;
        }
    }
    for (PeriodDemand::Ask& a : demand.m_asks)
        a.held = {};
    m_cursor.assign(demand.drugs.size(), 0);
}

void HeldReader::take(const QString& orderid, int k, const PeriodDemand::Held& held) {
    // An order's rows mostly come together: its id is looked up once for them.
    if (m_lastFirst == NoRowYet || orderid != m_lastId) {
        m_lastId = orderid;
        m_lastFirst = m_firstOrder.value(orderid, -1);
    }
    if (m_lastFirst < 0 || k < 0)
        return;
    using Ask = PeriodDemand::Ask;
    Ask* const begin = m_demand.m_asks.data() + m_demand.m_askStart[size_t(k)];
    Ask* const end = m_demand.m_asks.data() + m_demand.m_askStart[size_t(k) + 1];
    const auto before = [](const Ask& x, int order) { return x.order < order; };
    // A drug's asks run earliest order first, one ask an order. The rows mostly come in that
    // order too: the search starts where the drug's last row was found, steps forward in growing
    // strides, and only searches the whole range when the row lies behind.
    int& cursor = m_cursor[size_t(k)];
    for (int o = m_lastFirst; o >= 0; o = m_nextSameId[size_t(o)]) {
        Ask* from = begin + cursor;
        Ask* a;
        if (from < end && from->order <= o) {
            ptrdiff_t step = 1;
            Ask* lo = from;
            while (lo + step < end && lo[step].order < o) {
                lo += step;
                step *= 2;
            }
            a = std::lower_bound(lo, std::min(lo + step + 1, end), o, before);
        } else {
            a = std::lower_bound(begin, end, o, before);
        }
        if (a != end && a->order == o) {
            a->held = held;
            cursor = int(a - begin);
        }
    }
}

void HeldReader::finish(const QHash<QString, int>& groupStock) {
    m_demand.openUnits(groupStock);
}
