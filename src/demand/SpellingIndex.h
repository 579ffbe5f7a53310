#pragma once

#include "demand/SameText.h"

#include <QStringView>
#include <QtGlobal>
#include <cstring>
#include <vector>

// The drug of every spelling the orders have shown. Nearly every order line looks its spelling up,
// as a view into the order's text, without making a string. The table of places is small (eight
// bytes a place, at most half used) and each kept spelling is one cache line holding its first
// characters, so a look-up mostly reads two lines the processor still has near.
class SpellingIndex {
public:
    SpellingIndex() : m_slots(64) {}

    // Inline and short: nearly every order line hashes its drug's spelling, and a call into a
    // general hash cost as much as the rest of the look-up. Eight characters a step are combined
    // (the total turned between steps, so their order counts), then folded by two wide
    // multiplications. A place shared by spellings only costs a comparison more.
    Q_ALWAYS_INLINE static size_t hash(QStringView spelling) {
        const char16_t* p = reinterpret_cast<const char16_t*>(spelling.utf16());
        const qsizetype n = spelling.size();
        quint64 lo, hi;
        if (n >= 8) {
#if defined(__SSE2__)
            __m128i acc = load128(p);
            for (qsizetype i = 8; i + 8 < n; i += 8)
                acc = _mm_xor_si128(_mm_shuffle_epi32(acc, _MM_SHUFFLE(2, 1, 0, 3)), load128(p + i));
            // The last eight characters whole, overlapping those before them.
            acc = _mm_xor_si128(_mm_shuffle_epi32(acc, _MM_SHUFFLE(1, 0, 3, 2)), load128(p + n - 8));
            lo = quint64(_mm_cvtsi128_si64(acc));
            hi = quint64(_mm_cvtsi128_si64(_mm_unpackhi_epi64(acc, acc)));
#else
            lo = load64(p);
            hi = load64(p + 4);
            for (qsizetype i = 8; i + 8 < n; i += 8) {
                lo = fold(lo ^ load64(p + i));
                hi = fold(hi ^ load64(p + i + 4));
            }
            lo ^= fold(load64(p + n - 8));
            hi ^= load64(p + n - 4);
#endif
        } else if (n >= 4) {
            lo = load64(p);
            hi = load64(p + n - 4);
        } else if (n >= 2) {
            lo = load32(p);
            hi = load32(p + n - 2);
        } else {
            lo = n == 1 ? p[0] : 0;
            hi = 0;
        }
        return size_t(fold(fold(lo ^ quint64(n) * 0x9E3779B97F4A7C15ull) ^ hi));
    }

    // The drug of the spelling, or -1.
    Q_ALWAYS_INLINE int find(QStringView spelling, size_t hash) const {
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
    static quint64 load64(const char16_t* p) {
        quint64 v;
        std::memcpy(&v, p, 8);
        return v;
    }
    static quint32 load32(const char16_t* p) {
        quint32 v;
        std::memcpy(&v, p, 4);
        return v;
    }
#if defined(__SSE2__)
    static __m128i load128(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
#endif
    // The high and low halves of the product with an odd constant, folded: every bit of x reaches
    // the low bits that choose a place.
    static quint64 fold(quint64 x) {
#if defined(__SIZEOF_INT128__)
        const unsigned __int128 m = static_cast<unsigned __int128>(x) * 0xD6E8FEB86659FD93ull;
        return quint64(m) ^ quint64(m >> 64);
#else
        x *= 0xD6E8FEB86659FD93ull;
        return x ^ (x >> 32);
#endif
    }
    void place(qint32 spelling);

    std::vector<Slot> m_slots; // a power of two, at most half used
    std::vector<Spelling> m_spellings;
    std::vector<size_t> m_hashes;   // of m_spellings, to place them again when the table grows
    std::vector<char16_t> m_long;   // the longer spellings' characters, one after the other
};
