#include "buying/DeliveryShare.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace DeliveryShare {

QString RuleName(Rule rule) {
    return rule == Rule::Proportional ? QStringLiteral("proportion") : QStringLiteral("earliest");
}

Rule RuleNamed(const QString& name) {
    return name == QLatin1String("proportion") ? Rule::Proportional : Rule::EarliestFirst;
}

namespace {
long long wholeUnits(double v) {
    if (!(v > 0))
        return 0;
    return v >= 1e15 ? (long long)1e15 : (long long)std::floor(v);
}
} // namespace

long long AskedUnits(double asked) {
    if (!(asked > 0))
        return 0;
    return asked >= 1e15 ? (long long)1e15 : (long long)std::ceil(asked - 1e-9);
}

std::vector<int> Share(const double* asked, size_t n, double received, Rule rule) {
    std::vector<int> out(n, 0);
    long long left = wholeUnits(received);
    if (left == 0 || n == 0)
        return out;
    const auto cap = [asked](size_t i) { return std::min<long long>(AskedUnits(asked[i]), 1000000000); };
    if (rule == Rule::EarliestFirst) {
        for (size_t i = 0; i < n && left > 0; ++i) {
            const long long give = std::min(cap(i), left);
            out[i] = int(give);
            left -= give;
        }
        return out;
    }
    long long wanted = 0;
    for (size_t i = 0; i < n; ++i) {
        out[i] = int(cap(i));
        wanted += out[i];
    }
    if (left >= wanted)
        return out;
    // In proportion: the whole part of each order's share first, then one unit each to the largest
    // remainders. Remainders are compared exactly as fractions of the whole asked.
    thread_local std::vector<long long> rest;
    rest.resize(n);
    long long given = 0;
    // Products within 62 bits are divided as plain integers, which is far quicker than 128 bits.
    if (left < (1LL << 31) && wanted < (1LL << 31)) {
        for (size_t i = 0; i < n; ++i) {
            const long long num = left * out[i];
            out[i] = int(num / wanted);
            rest[i] = num % wanted;
            given += out[i];
        }
    } else {
        for (size_t i = 0; i < n; ++i) {
            const __int128 num = (__int128)left * out[i];
            out[i] = int(num / wanted);
            rest[i] = (long long)(num % wanted);
            given += out[i];
        }
    }
    const long long extra = left - given; // fewer than n
    if (extra > 0) {
        // Every order with a remainder is below its ask, and there are at least extra of them.
        // Which orders are the extra largest is all that matters, not their order among themselves.
        thread_local std::vector<size_t> idx;
        idx.resize(n);
        std::iota(idx.begin(), idx.end(), size_t(0));
        const auto before = [&](size_t a, size_t b) { return rest[a] != rest[b] ? rest[a] > rest[b] : a < b; };
        if (size_t(extra) < n)
            std::nth_element(idx.begin(), idx.begin() + (extra - 1), idx.end(), before);
        for (long long k = 0; k < extra; ++k)
            ++out[idx[size_t(k)]];
    }
    return out;
}

} // namespace DeliveryShare
