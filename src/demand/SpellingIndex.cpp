#include "demand/SpellingIndex.h"

void SpellingIndex::place(const Slot& slot) {
    const size_t mask = m_slots.size() - 1;
    size_t i = size_t(slot.hash) & mask;
    while (m_slots[i].drug >= 0)
        i = (i + 1) & mask;
    m_slots[i] = slot;
}

void SpellingIndex::insert(QStringView spelling, quint64 hash, int drug) {
    if (2 * (m_used + 1) > m_slots.size()) {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& s : old)
            if (s.drug >= 0)
                place(s);
    }
    // A deque never moves what it holds: the views stay good.
    m_kept.push_back(spelling.toString());
    place({hash, reinterpret_cast<const char16_t*>(m_kept.back().utf16()), m_kept.back().size(), drug});
    ++m_used;
}
