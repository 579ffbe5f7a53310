#include "data/FlexCells.h"

#include <algorithm>

QString* FlexCells::append() {
    const size_t used = size_t(m_slots);
    if (used == m_firstCapacity && used < ChunkSlots) {
        // Most grids are small: their first chunk starts small and grows.
        m_firstCapacity = std::min(std::max<size_t>(16, used * 2), ChunkSlots);
        auto first = std::make_unique<QString[]>(m_firstCapacity * size_t(m_cols));
        if (m_chunks.empty()) {
            m_chunks.push_back(std::move(first));
        } else {
            std::move(m_chunks[0].get(), m_chunks[0].get() + used * size_t(m_cols), first.get());
            m_chunks[0] = std::move(first);
        }
    } else if (used >= ChunkSlots && used == m_chunks.size() * ChunkSlots) {
        m_chunks.push_back(std::make_unique<QString[]>(ChunkSlots * size_t(m_cols)));
    }
    return slot(m_slots++);
}

FlexCells FlexCells::restrided(int cols) {
    FlexCells out(cols);
    const int keep = std::min(out.m_cols, m_cols);
    for (int s = 0; s < m_slots; ++s) {
        QString* from = slot(s);
        std::move(from, from + keep, out.append());
    }
    return out;
}

FlexCells FlexCells::picked(const std::vector<int>& order) {
    FlexCells out(m_cols);
    for (int s : order) {
        QString* from = slot(s);
        std::move(from, from + m_cols, out.append());
    }
    return out;
}
