#pragma once

#include "demand/SameText.h"

#include <QHash>
#include <QStringView>
#include <QtGlobal>
#include <vector>

// The drug of every spelling the orders have shown. Nearly every order line looks its spelling up,
// as a view into the order's text, without making a string. The table of places is small (eight
// bytes a place, at most half used) and each kept spelling is one cache line holding its first
// characters, so a look-up mostly reads two lines the processor still has near.
class SpellingIndex {
public:
    SpellingIndex() : m_slots(64) {}

    // Qt's own hash of the characters: measured on drug names (20 to 25 characters) it is as fast
    // as a hand-written one or faster (it uses the processor's AES steps where there are some).
    static size_t hash(QStringView spelling) { return qHash(spelling, size_t(0x9E3779B97F4A7C15ull)); }

    // The drug of the spelling, or -1.
    int find(QStringView spelling, size_t hash) const {
        const size_t mask = m_slots.size() - 1;
        const quint32 tag = tagOf(hash);
        const char16_t* text = reinterpret_cast<const char16_t*>(spelling.utf16());
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot s = m_slots[i];
            if (s.spelling < 0)
                return -1;
            if (s.tag != tag)
                continue;
            const Spelling& k = m_spellings[size_t(s.spelling)];
            if (k.size == spelling.size() &&
                SameText(k.size <= Head ? k.head : m_long.data() + k.offset, text, k.size))
                return k.drug;
        }
    }

    // A spelling not yet in the index; a copy of it is kept.
    void insert(QStringView spelling, size_t hash, int drug);

private:
    static constexpr int Head = 26;
    struct Slot {
        quint32 tag = 0;       // the hash's upper bits: the lower ones chose the place
        qint32 spelling = -1;  // -1: free
    };
    struct alignas(64) Spelling {
        qint32 size = 0;
        qint32 drug = 0;
        quint32 offset = 0; // in m_long, of a spelling longer than the head
        char16_t head[Head] = {};
    };
    static quint32 tagOf(size_t hash) { return quint32(quint64(hash) >> 32); }
    void place(qint32 spelling);

    std::vector<Slot> m_slots; // a power of two, at most half used
    std::vector<Spelling> m_spellings;
    std::vector<size_t> m_hashes;   // of m_spellings, to place them again when the table grows
    std::vector<char16_t> m_long;   // the longer spellings' characters, one after the other
};
