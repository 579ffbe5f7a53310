#include "data/TextOrder.h"

#include <QCollator>
#include <QLocale>
#include <QtEndian>
#include <array>
#include <cstring>
#include <string>
#include <string_view>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

// The reader's collation the text sorts use: letters first, case only breaks ties, so
// "amoxicillin" and "Amoxil" stand together; still case-sensitive, so "A" and "a" are not equal keys.
const QCollator& textCollator() {
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        c.setNumericMode(false);
        return c;
    }();
    return collator;
}

#ifdef Q_OS_WIN
// Windows' collation gives the hyphen and the apostrophe word-sort weights ("-3" after "2.5", and
// no per-character key reproduces it), and Qt 6.4's sort keys there carry stray bytes past the key:
// the text sorts compare with string sort, where every symbol counts as in the reader's collation.
constexpr bool KeyedTextSort = false;
int compareText(const QString& a, const QString& b) {
    return CompareStringEx(L"en-US", SORT_STRINGSORT, reinterpret_cast<LPCWCH>(a.utf16()), int(a.size()),
                           reinterpret_cast<LPCWCH>(b.utf16()), int(b.size()), nullptr, nullptr, 0) -
           CSTR_EQUAL;
}
#else
constexpr bool KeyedTextSort = true;
int compareText(const QString& a, const QString& b) { return textCollator().compare(a, b); }
#endif

// The collator's weights of the characters whose collation is one weight each: ASCII and the
// Arabic letters that have no decomposition (those with hamza or madda above or below are alef,
// waw or yeh plus a mark, and differ from them only at the accent level). Read from the collator
// itself once. For texts made of these characters the collation has no contractions, expansions
// or accents: every character is ignorable or has one primary weight and one case weight, so a byte
// key "primaries, 0, case weights" sorts exactly like the collator at a small part of the cost of
// a full collation key.
constexpr char16_t SimpleLimit = 0x0700;
struct SimpleWeights {
    std::array<quint8, SimpleLimit> primary{}; // 0: ignorable
    std::array<quint8, SimpleLimit> tertiary{};
    std::array<bool, SimpleLimit> simple{};
};

bool hasSimpleCollation(char16_t c) {
    if (c < 128)
        return true;
    if (c < 0x0621 || c > 0x064A)
        return false;
    const QChar ch(c);
    return ch.decompositionTag() == QChar::NoDecomposition && ch.category() == QChar::Letter_Other;
}

const SimpleWeights& simpleWeights() {
    static const SimpleWeights w = [] {
        const QCollator& sensitive = textCollator();
        QCollator insensitive = sensitive;
        insensitive.setCaseSensitivity(Qt::CaseInsensitive);
        const QString probe = QStringLiteral("a");
        SimpleWeights out;
        std::vector<char16_t> chars;
        for (char16_t c = 0; c < SimpleLimit; ++c) {
            if (!hasSimpleCollation(c))
                continue;
            out.simple[c] = true;
            if (sensitive.compare(probe + QChar(c), probe) != 0)
                chars.push_back(c);
        }
        std::stable_sort(chars.begin(), chars.end(), [&](char16_t a, char16_t b) {
            return sensitive.compare(QString(QChar(a)), QString(QChar(b))) < 0;
        });
        quint8 primary = 0;
        quint8 tertiary = 0;
        for (size_t i = 0; i < chars.size(); ++i) {
            if (i > 0 && insensitive.compare(QString(QChar(chars[i - 1])), QString(QChar(chars[i]))) == 0) {
                ++tertiary;
            } else {
                ++primary;
                tertiary = 1;
            }
            out.primary[chars[i]] = primary;
            out.tertiary[chars[i]] = tertiary;
        }
        return out;
    }();
    return w;
}

// Appends the key of s; false (and nothing appended) when s holds a character without a simple
// collation.
bool appendSimpleKey(std::string& arena, const QString& s) {
    const SimpleWeights& w = simpleWeights();
    const size_t base = arena.size();
    const qsizetype len = s.size();
    arena.resize(base + 2 + 2 * size_t(len));
    char* const begin = arena.data() + base;
    char* out = begin;
    // The empty text comes before one made only of ignorable characters, as in QCollator::compare.
    *out++ = len == 0 ? '\0' : '\1';
    const char16_t* text = reinterpret_cast<const char16_t*>(s.constData());
    for (qsizetype i = 0; i < len; ++i) {
        const char16_t c = text[i];
        if (c >= SimpleLimit || !w.simple[c]) {
            arena.resize(base);
            return false;
        }
        if (const quint8 p = w.primary[c])
            *out++ = char(p);
    }
    *out++ = '\0'; // below every weight: a prefix sorts first
    for (qsizetype i = 0; i < len; ++i)
        if (w.primary[text[i]])
            *out++ = char(w.tertiary[text[i]]);
    arena.resize(base + size_t(out - begin));
    return true;
}

struct SimpleKey {
    // The key's first 16 bytes, big-endian: most comparisons end here, also between names that
    // share their first word.
    quint64 head;
    quint64 head2;
    quint32 offset;
    quint32 length;
    int row;
};


// The simple key of s, or false when s needs the full collation.
bool simpleKey(std::string& arena, const QString& s, SimpleKey& key) {
    const size_t start = arena.size();
    if (!appendSimpleKey(arena, s))
        return false;
    const size_t length = arena.size() - start;
    unsigned char bytes[16] = {};
    std::memcpy(bytes, arena.data() + start, std::min<size_t>(length, 16));
    quint64 head = 0;
    quint64 head2 = 0;
    std::memcpy(&head, bytes, 8);
    std::memcpy(&head2, bytes + 8, 8);
    key = {qFromBigEndian(head), qFromBigEndian(head2), quint32(start), quint32(length), 0};
    return true;
}

template <class Less>
void stableSort(std::vector<int>& at, Less less, bool descending) {
    if (descending)
        std::stable_sort(at.begin(), at.end(), [&](int a, int b) { return less(b, a); });
    else
        std::stable_sort(at.begin(), at.end(), less);
}

} // namespace

namespace TextOrder {

int compare(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return int(!a.isEmpty()) - int(!b.isEmpty());
    if constexpr (KeyedTextSort) {
        // Two short keys cost less than the collator's own comparison.
        thread_local std::string arena;
        arena.clear();
        SimpleKey ka{}, kb{};
        if (simpleKey(arena, a, ka) && simpleKey(arena, b, kb)) {
            const std::string_view all(arena);
            const int c = all.substr(ka.offset, ka.length).compare(all.substr(kb.offset, kb.length));
            return (c > 0) - (c < 0);
        }
    }
    return compareText(a, b);
}

std::vector<int> order(const std::vector<QString>& texts, bool descending) {
    const int n = int(texts.size());
    std::vector<int> at(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        at[size_t(i)] = i;
    if (n < 2)
        return at;
    if constexpr (!KeyedTextSort) {
        stableSort(at, [&](int a, int b) { return compare(texts[size_t(a)], texts[size_t(b)]) < 0; }, descending);
        return at;
    }
    std::string arena;
    arena.reserve(size_t(n) * 48);
    std::vector<SimpleKey> keys(static_cast<size_t>(n));
    bool simple = true;
    for (int i = 0; i < n && simple; ++i) {
        simple = simpleKey(arena, texts[size_t(i)], keys[size_t(i)]);
        keys[size_t(i)].row = i;
    }
    if (simple) {
        const std::string_view all(arena);
        auto less = [&](const SimpleKey& a, const SimpleKey& b) {
            if (a.head != b.head)
                return a.head < b.head;
            if (a.head2 != b.head2)
                return a.head2 < b.head2;
            return all.substr(a.offset, a.length) < all.substr(b.offset, b.length);
        };
        if (descending)
            std::stable_sort(keys.begin(), keys.end(), [&](const SimpleKey& a, const SimpleKey& b) { return less(b, a); });
        else
            std::stable_sort(keys.begin(), keys.end(), less);
        for (int i = 0; i < n; ++i)
            at[size_t(i)] = keys[size_t(i)].row;
        return at;
    }
    // Other characters need the full collation; every text then takes its key from it, so that all
    // compare on one scale.
    const QCollator& collator = textCollator();
    std::vector<QCollatorSortKey> collationKeys;
    collationKeys.reserve(size_t(n));
    for (const QString& t : texts)
        collationKeys.push_back(collator.sortKey(t));
    stableSort(
        at,
        [&](int a, int b) {
            const bool emptyA = texts[size_t(a)].isEmpty();
            const bool emptyB = texts[size_t(b)].isEmpty();
            if (emptyA || emptyB)
                return emptyA && !emptyB;
            return collationKeys[size_t(a)].compare(collationKeys[size_t(b)]) < 0;
        },
        descending);
    return at;
}

} // namespace TextOrder
