#pragma once

#include <QtGlobal>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Whether n UTF-16 characters at a and b are the same, inline: the group demand compares a
// spelling and a price for nearly every order line, and most are a few to a few dozen characters.
// Reads no character outside the n at either place.
Q_ALWAYS_INLINE bool SameText(const char16_t* a, const char16_t* b, qsizetype n) {
    if (n >= 8) {
#if defined(__SSE2__)
        // Eight characters a step, and the last eight (overlapping those before) in one more; the
        // steps' results are put together and looked at once.
        const auto load = [](const char16_t* x) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(x)); };
        __m128i same = _mm_cmpeq_epi8(load(a + n - 8), load(b + n - 8));
        for (qsizetype i = 0; i + 8 < n; i += 8)
            same = _mm_and_si128(same, _mm_cmpeq_epi8(load(a + i), load(b + i)));
        return _mm_movemask_epi8(same) == 0xFFFF;
#else
        return std::memcmp(a, b, size_t(n) * sizeof(char16_t)) == 0;
#endif
    }
    if (n >= 4) {
        quint64 u0, v0, u1, v1;
        std::memcpy(&u0, a, 8);
        std::memcpy(&v0, b, 8);
        std::memcpy(&u1, a + n - 4, 8);
        std::memcpy(&v1, b + n - 4, 8);
        return ((u0 ^ v0) | (u1 ^ v1)) == 0;
    }
    // One to three characters: the first, the middle and the last cover them.
    if (n <= 0)
        return true;
    const size_t last = size_t(n - 1), middle = last >> 1;
    return ((a[0] ^ b[0]) | (a[middle] ^ b[middle]) | (a[last] ^ b[last])) == 0;
}
