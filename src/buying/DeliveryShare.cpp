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

std::vector<int> Share(const double* asked, size_t n, double received, Rule rule) {
    std::vector<int> out(n, 0);
    long long left = wholeUnits(received);
    if (left == 0 || n == 0)
        return out;
    std::vector<long long> cap(n);
    long long wanted = 0;
    for (size_t i = 0; i < n; ++i) {
        cap[i] = std::min<long long>(wholeUnits(asked[i]), 1000000000);
        wanted += cap[i];
    }
    if (left >= wanted) {
        for (size_t i = 0; i < n; ++i)
            out[i] = int(cap[i]);
        return out;
    }
    if (rule == Rule::EarliestFirst) {
        for (size_t i = 0; i < n && left > 0; ++i) {
            const long long give = std::min(cap[i], left);
            out[i] = int(give);
            left -= give;
        }
        return out;
    }
    // In proportion: the whole part of each order's share first, then one unit each to the largest
    // remainders. Remainders are compared exactly as fractions of the whole asked.
    std::vector<long long> rest(n);
    for (size_t i = 0; i < n; ++i) {
        const __int128 num = (__int128)left * cap[i];
        out[i] = int(num / wanted);
        rest[i] = (long long)(num % wanted);
    }
    long long given = 0;
    for (int v : out)
        given += v;
    long long extra = left - given; // fewer than n
    if (extra > 0) {
        std::vector<size_t> idx(n);
        std::iota(idx.begin(), idx.end(), size_t(0));
        std::stable_sort(idx.begin(), idx.end(), [&](size_t a, size_t b) { return rest[a] > rest[b]; });
        for (size_t k = 0; k < n && extra > 0; ++k)
            if (out[idx[k]] < cap[idx[k]] && rest[idx[k]] > 0) {
                ++out[idx[k]];
                --extra;
            }
    }
    return out;
}

} // namespace DeliveryShare
