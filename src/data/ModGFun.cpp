#include "data/ModGFun.h"

#include <array>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace ModGFun {

QString CleanText(const QString& text) {
    QString s = text;
    s.remove(QChar(u'\0'));
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin);
}

// Any number: digits of any length and exponents of any size.
static double valSlow(QStringView text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    // The next character that is not a blank, tab or line feed; 0 at the end.
    auto next = [&]() -> char16_t {
        while (i < n) {
            const char16_t c = text.at(i).unicode();
            if (c != u' ' && c != u'\t' && c != u'\n')
                return c;
            ++i;
        }
        return 0;
    };
    char16_t c = next();
    bool negative = false;
    if (c == u'+' || c == u'-') {
        negative = (c == u'-');
        ++i;
        c = next();
    }
    std::string num;
    bool digits = false;
    bool dot = false;
    qsizetype intDigits = 0;     // integer digits after leading zeros
    qsizetype zerosAfterDot = 0; // zeros after the dot before the first other digit
    bool nonZero = false;
    while (true) {
        if (c >= u'0' && c <= u'9') {
            num.push_back(char(c));
            digits = true;
            if (c != u'0')
                nonZero = true;
            if (!dot && nonZero)
                ++intDigits;
            else if (dot && !nonZero)
                ++zerosAfterDot;
        } else if (c == u'.' && !dot) {
            num.push_back('.');
            dot = true;
        } else {
            break;
        }
        ++i;
        c = next();
    }
    if (!digits)
        return 0.0;
    long long exponent = 0;
    if (c == u'e' || c == u'E' || c == u'd' || c == u'D') {
        const qsizetype save = i;
        ++i;
        char16_t e = next();
        bool expNegative = false;
        if (e == u'+' || e == u'-') {
            expNegative = (e == u'-');
            ++i;
            e = next();
        }
        bool expDigits = false;
        while (e >= u'0' && e <= u'9') {
            // Saturate: any exponent this large over- or underflows whatever the digits are.
            if (exponent < 1'000'000'000'000LL)
                exponent = exponent * 10 + (e - u'0');
            expDigits = true;
            ++i;
            e = next();
        }
        if (expDigits) {
            if (expNegative)
                exponent = -exponent;
        } else {
            i = save;
        }
    }
    if (!nonZero)
        return negative ? -0.0 : 0.0;
    if (num.front() == '.')
        num.insert(num.begin(), '0');
    if (exponent != 0) {
        num.push_back('e');
        num += std::to_string(exponent);
    }
    double value = 0.0;
    const auto res = std::from_chars(num.data(), num.data() + num.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Decide by the decimal magnitude: 10^(magnitude-1) <= |value| < 10^magnitude.
        const long long magnitude = (intDigits > 0 ? intDigits : -zerosAfterDot) + exponent;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

// The powers of ten that are exact doubles.
static constexpr double Pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Short plain numbers (at most 15 significant digits, at most 22 after the point, no exponent)
// are read exactly from one integer and one power of ten, both exact doubles, so the one division
// rounds correctly and gives what the general path gives; everything else takes the general path.
double Val(QStringView text) {
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skip = [&] {
        while (i < n && (p[i] == u' ' || p[i] == u'\t' || p[i] == u'\n'))
            ++i;
    };
    skip();
    bool negative = false;
    if (i < n && (p[i] == u'+' || p[i] == u'-')) {
        negative = p[i] == u'-';
        ++i;
        skip();
    }
    quint64 mantissa = 0;
    int significant = 0;
    int afterDot = 0;
    bool digits = false;
    bool dot = false;
    while (i < n) {
        const char16_t c = p[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
            if (mantissa != 0 || c != u'0') {
                if (++significant > 15)
                    return valSlow(text);
                mantissa = mantissa * 10 + (c - u'0');
            }
            if (dot && ++afterDot > 22)
                return valSlow(text);
        } else if (c == u'.' && !dot) {
            dot = true;
        } else if (c != u' ' && c != u'\t' && c != u'\n') {
            break;
        }
        ++i;
    }
    if (!digits)
        return 0.0;
    if (i < n && (p[i] == u'e' || p[i] == u'E' || p[i] == u'd' || p[i] == u'D'))
        return valSlow(text); // an exponent, or a letter the general path decides about
    const double value = double(mantissa) / Pow10[afterDot];
    return negative ? -value : value;
}

template <typename T> static double roundShortest(T value, int decimals) {
    if (!std::isfinite(value) || decimals < 0 || decimals > 300)
        return double(value);
    // The shortest plain text that reads back as value: "-12.85", "104857.66", "16777216".
    std::array<char, 400> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    std::string_view text(buf.data(), size_t(res.ptr - buf.data()));
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    // The kept digits as one string; the decimal point goes back in after rounding.
    std::string kept(whole);
    kept.append(fraction.substr(0, std::min(fraction.size(), size_t(decimals))));
    kept.append(size_t(decimals) - (kept.size() - whole.size()), '0');
    const std::string_view dropped = fraction.size() > size_t(decimals) ? fraction.substr(size_t(decimals)) : "";
    bool up = false;
    if (!dropped.empty()) {
        const char first = dropped.front();
        const bool beyondHalf = dropped.find_first_not_of('0', 1) != std::string_view::npos;
        up = first > '5' || (first == '5' && (beyondHalf || (kept.back() - '0') % 2 == 1));
    }
    if (up) {
        size_t k = kept.size();
        while (k > 0 && kept[k - 1] == '9')
            kept[--k] = '0';
        if (k == 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[k - 1];
    }
    std::string out = negative ? "-" : "";
    out.append(kept, 0, kept.size() - size_t(decimals));
    if (decimals > 0) {
        out.push_back('.');
        out.append(kept, kept.size() - size_t(decimals));
    }
    double rounded = 0;
    std::from_chars(out.data(), out.data() + out.size(), rounded);
    return negative && rounded == 0 ? -0.0 : rounded;
}

// Far from a half, the decimal a value reads as and the value itself round the same way, so the
// text is needed only near one: the shortest text lies within half a unit of the value's last
// place, and scaling by the power of ten rounds once more in double. False when too close to call.
template <typename T> static bool roundFarFromHalf(T value, int decimals, double& rounded) {
    if (decimals < 1 || decimals > 10)
        return false;
    const double x = double(value) * Pow10[decimals];
    if (!(std::fabs(x) < 0x1p52)) // also NaN and infinities
        return false;
    const double whole = std::floor(x);
    const double fraction = x - whole; // exact at this size
    const double margin = std::fabs(x) * (double(std::numeric_limits<T>::epsilon()) + 0x1p-50);
    if (std::fabs(fraction - 0.5) <= margin)
        return false;
    rounded = (fraction < 0.5 ? whole : whole + 1) / Pow10[decimals];
    if (rounded == 0 && std::signbit(x))
        rounded = -0.0;
    return true;
}

// To whole numbers the text is not needed: a value whose shortest text ends in exactly ".5" is
// exactly half way, so the machine's own half-even rounding gives the same result.
template <typename T> static double roundHalfEven(T value, int decimals) {
    if (decimals == 0 && std::isfinite(value))
        return std::nearbyint(double(value));
    double rounded;
    return roundFarFromHalf(value, decimals, rounded) ? rounded : roundShortest(value, decimals);
}

double RoundHalfEven(double value, int decimals) {
    return roundHalfEven(value, decimals);
}

double RoundHalfEven(float value, int decimals) {
    return roundHalfEven(value, decimals);
}

double RoundHalfEvenByText(double value, int decimals) {
    return roundShortest(value, decimals);
}

double RoundHalfEvenByText(float value, int decimals) {
    return roundShortest(value, decimals);
}

// "-123.45" from negative, 12345 and 2 decimals.
static bool writeDecimals(bool negative, qint64 n, int decimals, QString& text) {
    char16_t buf[32];
    char16_t* end = buf + std::size(buf);
    char16_t* p = end;
    for (int i = 0; i < decimals; ++i, n /= 10)
        *--p = char16_t(u'0' + n % 10);
    *--p = u'.';
    do {
        *--p = char16_t(u'0' + n % 10);
        n /= 10;
    } while (n > 0);
    if (negative)
        *--p = u'-';
    text = QString(reinterpret_cast<const QChar*>(p), end - p);
    return true;
}

// Prices and discounts mostly have one to three decimals. The shortest text then is the nearest
// number of the fewest decimals that reads back as the value: tried for 1, 2 and 3 decimals
// without the general search. Held to magnitudes where the integer part cannot be shortened; a
// case too close to call is left to the general search (false, nothing written).
static bool fewDecimals(double value, QString& text) {
    const double a = std::abs(value);
    if (!(a >= 1e-3 && a < 2147483648.0))
        return false;
    for (int k = 1; k <= 3; ++k) {
        const double n = std::nearbyint(a * Pow10[k]);
        // Division of two exact numbers is rounded once, as reading the text back is.
        if (n / Pow10[k] != a)
            continue;
        return writeDecimals(value < 0, qint64(n), k, text);
    }
    return false;
}

static bool fewDecimals(float value, QString& text) {
    const double a = std::abs(double(value));
    if (!(a >= 1e-3 && a < 131072.0))
        return false;
    // Half the distance to the neighbouring floats (2^(exponent - 24), every float here is a
    // normal one); below a power of two the lower one is nearer.
    const quint32 bits = std::bit_cast<quint32>(value);
    const int exponent = int((bits >> 23) & 0xFF) - 127;
    const double halfGap = std::bit_cast<double>(quint64(exponent - 24 + 1023) << 52);
    const double halfGapBelow = (bits & 0x7FFFFF) == 0 ? halfGap / 2 : halfGap;
    for (int k = 1; k <= 3; ++k) {
        const double scaled = a * Pow10[k]; // exact: 24 bits times at most 10 bits
        const double n = std::nearbyint(scaled);
        const double off = std::abs(scaled - n); // exact too
        const double limit = (n < scaled ? halfGapBelow : halfGap) * Pow10[k];
        if (off > halfGap * Pow10[k])
            continue; // the nearest text of k decimals reads as another float
        if (off >= limit)
            return false; // a tie or below a power of two: too close to call here
        return writeDecimals(value < 0, qint64(n), k, text);
    }
    return false;
}

// The texts of the numbers last written that are not whole: a catalogue's prices and discounts
// repeat over its rows, and a text found here is shared instead of searched for and allocated
// again. Slots are taken by the numbers' bits; a slot another thread holds is passed by.
template <typename Bits> class RecentTexts {
public:
    bool find(Bits bits, QString& text) {
        Slot& s = m_slots[index(bits)];
        if (s.busy.test_and_set(std::memory_order_acquire))
            return false;
        const bool hit = s.bits == bits;
        if (hit)
            text = s.text;
        s.busy.clear(std::memory_order_release);
        return hit;
    }
    void keep(Bits bits, const QString& text) {
        Slot& s = m_slots[index(bits)];
        if (s.busy.test_and_set(std::memory_order_acquire))
            return;
        s.bits = bits;
        s.text = text;
        s.busy.clear(std::memory_order_release);
    }

private:
    static constexpr int Log2Slots = 12;
    static size_t index(Bits bits) { return size_t((quint64(bits) * 0x9E3779B97F4A7C15ull) >> (64 - Log2Slots)); }
    struct Slot {
        std::atomic_flag busy;
        Bits bits = 0; // 0 is the number 0, which never comes here
        QString text;
    };
    std::array<Slot, size_t(1) << Log2Slots> m_slots;
};

template <typename T> static QString shortest(T value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0)
        return QStringLiteral("0");
    // Whole numbers, most of what a catalogue holds, print the same without the decimal search
    // while every whole number near them is representable (so no shorter text reads back as them).
    if (std::abs(value) < std::ldexp(T(1), std::numeric_limits<T>::digits) && value == std::trunc(value)) {
        // Small counts, prices and discounts fill whole catalogues: they share one text each.
        static const std::array<QString, 1000> small = [] {
            std::array<QString, 1000> texts;
            for (int i = 0; i < 1000; ++i)
                texts[size_t(i)] = QString::number(i);
            return texts;
        }();
        if (value > 0 && value < T(1000))
            return small[size_t(value)];
        return QString::number(static_cast<qint64>(value));
    }
    using Bits = std::conditional_t<sizeof(T) == 4, quint32, quint64>;
    static RecentTexts<Bits> recent;
    const Bits bits = std::bit_cast<Bits>(value);
    QString text;
    if (recent.find(bits, text))
        return text;
    if (!fewDecimals(value, text)) {
        std::array<char, 400> buf; // written by to_chars before it is read
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
        text = QString::fromLatin1(buf.data(), res.ptr - buf.data());
    }
    recent.keep(bits, text);
    return text;
}

QString ShortestText(double value) {
    return shortest(value);
}
QString ShortestText(float value) {
    return shortest(value);
}

} // namespace ModGFun
