#include "data/ModGFun.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

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

double Val(const QString& text) {
    // Collect the candidate characters, skipping blanks, tabs and line feeds.
    std::string num;
    num.reserve(32);
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto next = [&]() -> char16_t {
        while (i < n) {
            const char16_t c = text.at(i).unicode();
            if (c == u' ' || c == u'\t' || c == u'\n') {
                ++i;
                continue;
            }
            return c;
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
    bool digits = false;
    bool dot = false;
    std::string mantissa;
    while (true) {
        if (c >= u'0' && c <= u'9') {
            mantissa.push_back(char(c));
            digits = true;
        } else if (c == u'.' && !dot) {
            mantissa.push_back('.');
            dot = true;
        } else {
            break;
        }
        ++i;
        c = next();
    }
    if (!digits)
        return 0.0;
    num = mantissa;
    if (c == u'e' || c == u'E' || c == u'd' || c == u'D') {
        const qsizetype save = i;
        ++i;
        char16_t e = next();
        std::string exp = "e";
        if (e == u'+' || e == u'-') {
            exp.push_back(char(e));
            ++i;
            e = next();
        }
        bool expDigits = false;
        while (e >= u'0' && e <= u'9') {
            // Keep exponents bounded; anything this large over- or underflows anyway.
            if (exp.size() < 12)
                exp.push_back(char(e));
            expDigits = true;
            ++i;
            e = next();
        }
        if (expDigits)
            num += exp;
        else
            i = save;
    }
    if (num.front() == '.')
        num.insert(num.begin(), '0');
    double value = 0.0;
    const auto res = std::from_chars(num.data(), num.data() + num.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched here; decide by the exponent's sign.
        const auto epos = num.find('e');
        const bool tiny = epos != std::string::npos && epos + 1 < num.size() && num[epos + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value;
    // nearbyint follows the default rounding mode: to nearest, halves to even.
    return std::nearbyint(scaled) / scale;
}

template <typename T> static QString shortest(T value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    if (value == 0)
        return QStringLiteral("0");
    std::array<char, 400> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return QString::fromLatin1(buf.data(), res.ptr - buf.data());
}

QString ShortestText(double value) { return shortest(value); }
QString ShortestText(float value) { return shortest(value); }

} // namespace ModGFun
