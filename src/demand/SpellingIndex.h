#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <cstring>
#include <deque>
#include <vector>

// The drug of every spelling the orders have shown. Nearly every order line looks its spelling up,
// as a view into the order's text: a flat table of hashes, lengths and kept copies finds it
// without making a string, mostly with one comparison.
class SpellingIndex {
public:
    SpellingIndex() : m_slots(64) {}

    static quint64 hash(QStringView spelling) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(spelling.utf16());
        size_t n = size_t(spelling.size()) * sizeof(char16_t);
        quint64 seed = 0xA0761D6478BD642Full ^ quint64(n);
        for (; n > 16; n -= 16, p += 16)
            seed = mix(word(p) ^ 0xE7037ED1A0B428DBull, word(p + 8) ^ seed);
        // The last 1 to 16 bytes: two words that may overlap, or one padded with zeros.
        quint64 a = 0, b = 0;
        if (n >= 8) {
            a = word(p);
            b = word(p + n - 8);
        } else if (n > 0) {
            std::memcpy(&a, p, n);
        }
        return mix(a ^ 0xE7037ED1A0B428DBull, b ^ seed ^ 0x8EBC6AF09C88C6E3ull);
    }

    // The drug of the spelling, or -1.
    int find(QStringView spelling, quint64 hash) const {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
            const Slot& s = m_slots[i];
            if (s.drug < 0)
                return -1;
            if (s.hash == hash && s.size == spelling.size() &&
                std::memcmp(s.text, spelling.utf16(), size_t(s.size) * sizeof(char16_t)) == 0)
                return s.drug;
        }
    }

    // A spelling not yet in the index; its copy is kept as long as the index.
    void insert(QStringView spelling, quint64 hash, int drug);

private:
    struct Slot {
        quint64 hash = 0;
        const char16_t* text = nullptr;
        qsizetype size = 0;
        int drug = -1; // -1: free
    };
    static quint64 word(const unsigned char* p) {
        quint64 w;
        std::memcpy(&w, p, 8);
        return w;
    }
    // Both halves of the 128-bit product: every input bit reaches the result.
    static quint64 mix(quint64 a, quint64 b) {
#if defined(__SIZEOF_INT128__)
        const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
        return quint64(r) ^ quint64(r >> 64);
#else
        const quint64 r = (a ^ (b >> 29)) * 0xFF51AFD7ED558CCDull + b;
        return r ^ (r >> 32);
#endif
    }
    void place(const Slot& slot);

    std::vector<Slot> m_slots; // a power of two, at most half used
    size_t m_used = 0;
    std::deque<QString> m_kept;
};
