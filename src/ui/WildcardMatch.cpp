#include "ui/WildcardMatch.h"

#include <vector>

namespace {

struct Token {
    enum Kind { Literal, Any, Digit, Set, Star } kind;
    QChar ch;
    std::vector<std::pair<QChar, QChar>> ranges; // for Set
    bool negate = false;
};

QChar fold(QChar c) { return c.toCaseFolded(); }

std::vector<Token> tokenize(const QString& p) {
    std::vector<Token> out;
    const qsizetype n = p.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = p.at(i);
        if (c == u'*') {
            if (out.empty() || out.back().kind != Token::Star)
                out.push_back({Token::Star, {}, {}, false});
        } else if (c == u'?') {
            out.push_back({Token::Any, {}, {}, false});
        } else if (c == u'#') {
            out.push_back({Token::Digit, {}, {}, false});
        } else if (c == u'[') {
            const qsizetype close = p.indexOf(u']', i + 1);
            if (close < 0) {
                out.push_back({Token::Literal, fold(c), {}, false});
                continue;
            }
            Token t{Token::Set, {}, {}, false};
            qsizetype j = i + 1;
            if (j < close && p.at(j) == u'!') {
                t.negate = true;
                ++j;
            }
            const qsizetype first = j;
            while (j < close) {
                const QChar a = p.at(j);
                if (a == u'-' && j != first && j + 1 < close && !t.ranges.empty()) {
                    // "x-y": widen the last single character to a range.
                    const QChar lo = t.ranges.back().first;
                    const QChar hi = p.at(j + 1);
                    t.ranges.back() = {lo, hi};
                    j += 2;
                    continue;
                }
                t.ranges.push_back({a, a});
                ++j;
            }
            i = close;
            if (t.ranges.empty() && !t.negate)
                continue; // "[]" matches the empty text: no token
            out.push_back(std::move(t));
        } else {
            out.push_back({Token::Literal, fold(c), {}, false});
        }
    }
    return out;
}

bool inRange(QChar c, QChar lo, QChar hi) {
    if (lo > hi)
        return false;
    return c >= lo && c <= hi;
}

bool matchOne(const Token& t, QChar c) {
    switch (t.kind) {
    case Token::Literal:
        return fold(c) == t.ch;
    case Token::Any:
        return true;
    case Token::Digit:
        return c >= u'0' && c <= u'9';
    case Token::Set: {
        bool hit = false;
        const QChar fc = fold(c);
        const QChar uc = c.toUpper();
        for (const auto& [lo, hi] : t.ranges) {
            if (inRange(c, lo, hi) || inRange(fc, fold(lo), fold(hi)) || inRange(uc, lo.toUpper(), hi.toUpper())) {
                hit = true;
                break;
            }
        }
        return hit != t.negate;
    }
    case Token::Star:
        return false;
    }
    return false;
}

} // namespace

bool WildcardMatch(const QString& text, const QString& pattern) {
    const std::vector<Token> toks = tokenize(pattern);
    const qsizetype n = text.size();
    const size_t m = toks.size();
    qsizetype ti = 0;
    size_t pi = 0;
    // Backtracking point of the last star: every token but the star takes exactly one character,
    // so this runs in O(n*m) at worst.
    qsizetype starText = -1;
    size_t starTok = 0;
    while (ti < n) {
        if (pi < m && toks[pi].kind == Token::Star) {
            starTok = ++pi;
            starText = ti;
        } else if (pi < m && matchOne(toks[pi], text.at(ti))) {
            ++pi;
            ++ti;
        } else if (starText >= 0) {
            pi = starTok;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < m && toks[pi].kind == Token::Star)
        ++pi;
    return pi == m;
}
