#pragma once

#include <QString>
#include <memory>
#include <vector>

// A grid's cells: slots of cols cells each, kept in chunks of ChunkSlots slots, so a slot has no
// array of its own and a long read fills them in place without moving the earlier ones (only a
// grid of fewer slots than a chunk grows its one chunk, by doubling).
class FlexCells {
public:
    explicit FlexCells(int cols = 0) : m_cols(cols < 0 ? 0 : cols) {}

    int cols() const { return m_cols; }
    int size() const { return m_slots; } // slots
    QString* slot(int s) {
        return m_chunks[size_t(s) / ChunkSlots].get() + (size_t(s) % ChunkSlots) * size_t(m_cols);
    }
    const QString* slot(int s) const {
        return m_chunks[size_t(s) / ChunkSlots].get() + (size_t(s) % ChunkSlots) * size_t(m_cols);
    }
    // A new slot of empty cells.
    QString* append();
    // The same slots with cols cells each: a slot keeps its first cells.
    FlexCells restrided(int cols);
    // The slots in the order given, the others dropped.
    FlexCells picked(const std::vector<int>& order);

private:
    static constexpr size_t ChunkSlots = 1024;
    int m_cols = 0;
    int m_slots = 0;
    size_t m_firstCapacity = 0; // slots room in the first chunk
    std::vector<std::unique_ptr<QString[]>> m_chunks;
};
