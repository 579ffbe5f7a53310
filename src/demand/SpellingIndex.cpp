#include "demand/SpellingIndex.h"

#include <algorithm>

void SpellingIndex::place(qint32 spelling) {
    const size_t hash = m_hashes[size_t(spelling)];
    const size_t mask = m_slots.size() - 1;
    size_t i = hash & mask;
    while (m_slots[i].spelling >= 0)
        i = (i + 1) & mask;
    m_slots[i] = {tagOf(hash), spelling};
}

void SpellingIndex::insert(QStringView spelling, size_t hash, int drug) {
    Spelling k;
    k.size = qint32(spelling.size());
    k.drug = drug;
    const char16_t* text = reinterpret_cast<const char16_t*>(spelling.utf16());
    if (k.size <= Head) {
        std::copy(text, text + k.size, k.head);
    } else {
        k.offset = quint32(m_long.size());
        m_long.insert(m_long.end(), text, text + k.size);
    }
    m_spellings.push_back(k);
    m_hashes.push_back(hash);
    if (2 * m_spellings.size() > m_slots.size()) {
        m_slots.assign(m_slots.size() * 2, Slot{});
        for (size_t s = 0; s < m_spellings.size(); ++s)
            place(qint32(s));
    } else {
        place(qint32(m_spellings.size() - 1));
    }
}
