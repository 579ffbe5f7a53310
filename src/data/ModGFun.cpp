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

double RoundHalfEven(float value, int decimals) {
    if (!std::isfinite(value))
        return value;
    // Scaled in single precision, so that a float sum that reads 0.35 rounds as the half it shows.
    const float scale = std::pow(10.0f, float(decimals));
    const float scaled = value * scale;
    if (!std::isfinite(scaled))
        return value;
    return double(std::nearbyint(scaled)) / double(std::pow(10.0, decimals));
}

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
    std::array<char, 400> buf; // written by to_chars before it is read
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return QString::fromLatin1(buf.data(), res.ptr - buf.data());
}

QString ShortestText(double value) {
    return shortest(value);
}
QString ShortestText(float value) {
    return shortest(value);
}

} // namespace ModGFun
