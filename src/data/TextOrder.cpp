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
int compareText(QStringView a, QStringView b) {
    return CompareStringEx(L"en-US", SORT_STRINGSORT, reinterpret_cast<LPCWCH>(a.utf16()), int(a.size()),
                           reinterpret_cast<LPCWCH>(b.utf16()), int(b.size()), nullptr, nullptr, 0) -
           CSTR_EQUAL;
}
#else
constexpr bool KeyedTextSort = true;
int compareText(QStringView a, QStringView b) { return textCollator().compare(a, b); }
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
    // Both weights in one load: primary | tertiary << 8, NotSimple for the other characters.
    std::array<quint16, SimpleLimit> packed{};
};
constexpr quint16 NotSimple = 0xFFFF;

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
        for (char16_t c = 0; c < SimpleLimit; ++c)
            out.packed[c] = out.simple[c] ? quint16(out.primary[c] | out.tertiary[c] << 8) : NotSimple;
        return out;
    }();
    return w;
}

// Writes the key of s at out, which has room for 2 + 2 * s.size() bytes; its length goes in
// length. False when s holds a character without a simple collation. One pass over the text: the
// case weights wait at the end of the room and move down behind the primaries.
bool writeSimpleKey(QStringView s, char* const begin, size_t& length) {
    const SimpleWeights& w = simpleWeights();
    const qsizetype len = s.size();
    char* out = begin;
    // The empty text comes before one made only of ignorable characters, as in QCollator::compare.
    *out++ = len == 0 ? '\0' : '\1';
    char* const tertiaries = begin + 2 + len;
    char* tertiary = tertiaries;
    const char16_t* text = s.utf16();
    for (qsizetype i = 0; i < len; ++i) {
        const char16_t c = text[i];
        if (c >= SimpleLimit)
            return false;
        const quint16 k = w.packed[c];
        if (k == NotSimple)
            return false;
        // Written always, kept only for a character that is not ignorable: no branch on it.
        *out = char(k);
        *tertiary = char(k >> 8);
        const bool kept = (k & 0xFF) != 0;
        out += kept;
        tertiary += kept;
    }
    *out++ = '\0'; // below every weight: a prefix sorts first
    const size_t count = size_t(tertiary - tertiaries);
    std::memmove(out, tertiaries, count);
    length = size_t(out - begin) + count;
    return true;
}

// Appends the key of s; false (and nothing appended) when s holds a character without a simple
// collation.
bool appendSimpleKey(std::string& arena, QStringView s) {
    const size_t base = arena.size();
    arena.resize(base + 2 + 2 * size_t(s.size()));
    size_t length = 0;
    const bool simple = writeSimpleKey(s, arena.data() + base, length);
    arena.resize(simple ? base + length : base);
    return simple;
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


// The key's head: its first 16 bytes, big-endian, zeros past its end.
void setHead(const char* bytesAt, size_t length, SimpleKey& key) {
    unsigned char bytes[16] = {};
    std::memcpy(bytes, bytesAt, std::min<size_t>(length, 16));
    quint64 head = 0;
    quint64 head2 = 0;
    std::memcpy(&head, bytes, 8);
    std::memcpy(&head2, bytes + 8, 8);
    key.head = qFromBigEndian(head);
    key.head2 = qFromBigEndian(head2);
}

// The simple key of s, or false when s needs the full collation.
bool simpleKey(std::string& arena, QStringView s, SimpleKey& key) {
    const size_t start = arena.size();
    if (!appendSimpleKey(arena, s))
        return false;
    const size_t length = arena.size() - start;
    setHead(arena.data() + start, length, key);
    key.offset = quint32(start);
    key.length = quint32(length);
    key.row = 0;
    return true;
}

constexpr int PrefetchAhead = 8;
inline void prefetch(const void* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

QStringView viewOf(const QString& s) { return s; }
QStringView viewOf(QStringView s) { return s; }
const QString& stringOf(const QString& s) { return s; }
QString stringOf(QStringView s) { return s.toString(); }

template <class Less>
void stableSort(std::vector<int>& at, Less less, bool descending) {
    if (descending)
        std::stable_sort(at.begin(), at.end(), [&](int a, int b) { return less(b, a); });
    else
        std::stable_sort(at.begin(), at.end(), less);
}

int compareViews(QStringView a, QStringView b) {
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

template <class Text>
std::vector<int> orderTexts(const std::vector<Text>& texts, bool descending) {
    const int n = int(texts.size());
    std::vector<int> at(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        at[size_t(i)] = i;
    if (n < 2)
        return at;
    if constexpr (!KeyedTextSort) {
        stableSort(
            at, [&](int a, int b) { return compareViews(viewOf(texts[size_t(a)]), viewOf(texts[size_t(b)])) < 0; },
            descending);
        return at;
    }
    // Every key in one arena sized from the texts' lengths, written in place.
    size_t room = 0;
    for (const Text& t : texts)
        room += 2 + 2 * size_t(viewOf(t).size());
    std::string arena;
    arena.resize(room);
    std::vector<SimpleKey> keys(static_cast<size_t>(n));
    bool simple = true;
    size_t used = 0;
    for (int i = 0; i < n && simple; ++i) {
        // The texts lie apart in memory: the ones a few steps on are fetched while this one is read.
        if (i + PrefetchAhead < n)
            prefetch(viewOf(texts[size_t(i + PrefetchAhead)]).data());
        size_t length = 0;
        simple = writeSimpleKey(viewOf(texts[size_t(i)]), arena.data() + used, length);
        SimpleKey& key = keys[size_t(i)];
        setHead(arena.data() + used, length, key);
        key.offset = quint32(used);
        key.length = quint32(length);
        key.row = i;
        used += length;
    }
    if (simple) {
        const std::string_view all(arena.data(), used);
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
    for (const Text& t : texts)
        collationKeys.push_back(collator.sortKey(stringOf(t)));
    stableSort(
        at,
        [&](int a, int b) {
            const bool emptyA = viewOf(texts[size_t(a)]).isEmpty();
            const bool emptyB = viewOf(texts[size_t(b)]).isEmpty();
            if (emptyA || emptyB)
                return emptyA && !emptyB;
            return collationKeys[size_t(a)].compare(collationKeys[size_t(b)]) < 0;
        },
        descending);
    return at;
}

} // namespace

namespace TextOrder {

int compare(const QString& a, const QString& b) {
    return compareViews(a, b);
}

std::vector<int> order(const std::vector<QString>& texts, bool descending) {
    return orderTexts(texts, descending);
}

std::vector<int> order(const std::vector<QStringView>& texts, bool descending) {
    return orderTexts(texts, descending);
}

} // namespace TextOrder
