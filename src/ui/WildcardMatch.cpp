#include "ui/WildcardMatch.h"

#include <QList>

namespace {

char32_t fold(char32_t c) {
    return QChar::toCaseFolded(c);
}

// The character at i and the index after it; an unpaired surrogate stands for itself.
char32_t codePointAt(QStringView s, qsizetype& i) {
    const char16_t c = s.at(i).unicode();
    ++i;
    if (QChar::isHighSurrogate(c) && i < s.size() && QChar::isLowSurrogate(s.at(i).unicode())) {
        const char16_t low = s.at(i).unicode();
        ++i;
        return QChar::surrogateToUcs4(c, low);
    }
    return c;
}

bool inRange(char32_t c, char32_t lo, char32_t hi) {
    return lo <= hi && c >= lo && c <= hi;
}

} // namespace

WildcardPattern::Token WildcardPattern::token(Token::Kind kind, char32_t ch) {
    Token t;
    t.kind = kind;
    t.ch = ch;
    return t;
}

WildcardPattern::WildcardPattern(const QString& pattern) {
    const QList<uint> p = pattern.toUcs4();
    const qsizetype n = p.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = char32_t(p.at(i));
        if (c == U'*') {
            if (m_tokens.empty() || m_tokens.back().kind != Token::Star)
                m_tokens.push_back(token(Token::Star));
        } else if (c == U'?') {
            m_tokens.push_back(token(Token::Any));
        } else if (c == U'#') {
            m_tokens.push_back(token(Token::Digit));
        } else if (c == U'[' && p.indexOf(U']', i + 1) >= 0) {
            const qsizetype close = p.indexOf(U']', i + 1);
            Token t = token(Token::Set);
            qsizetype j = i + 1;
            if (j < close && p.at(j) == U'!') {
                t.negate = true;
                ++j;
            }
            while (j < close) {
                const char32_t lo = char32_t(p.at(j));
                // "x-y" is a range; a "-" first or last in the list is itself.
                if (j + 2 < close && p.at(j + 1) == U'-') {
                    t.ranges.emplace_back(lo, char32_t(p.at(j + 2)));
                    j += 3;
                } else {
                    t.ranges.emplace_back(lo, lo);
                    ++j;
                }
            }
            i = close;
            if (t.ranges.empty() && !t.negate)
                continue; // "[]": no character
            m_tokens.push_back(std::move(t));
        } else {
            m_tokens.push_back(token(Token::Literal, fold(c)));
        }
    }
}

bool WildcardPattern::matchOne(const Token& t, char32_t c) const {
    switch (t.kind) {
    case Token::Literal:
        return fold(c) == t.ch;
    case Token::Any:
        return true;
    case Token::Digit:
        return c >= U'0' && c <= U'9';
    case Token::Set: {
        const char32_t fc = fold(c);
        const char32_t uc = QChar::toUpper(c);
        bool hit = false;
        for (const auto& [lo, hi] : t.ranges) {
            // Case ignored: "[A-Z]" takes "m" and "[a-z]" takes "M".
            if (inRange(c, lo, hi) || inRange(fc, fold(lo), fold(hi)) ||
                inRange(uc, QChar::toUpper(lo), QChar::toUpper(hi))) {
                hit = true;
                break;
            }
        }
        return hit != t.negate;
    }
    case Token::Star:
        break;
    }
    return false;
}

bool WildcardPattern::matches(QStringView text) const {
    const qsizetype n = text.size();
    const size_t m = m_tokens.size();
    qsizetype ti = 0;
    size_t pi = 0;
    // Every token but the star takes exactly one character, so going back to the last star is
    // enough: at worst O(text * pattern), never exponential.
    qsizetype starText = -1;
    size_t starTok = 0;
    while (ti < n) {
        if (pi < m && m_tokens[pi].kind == Token::Star) {
            starTok = ++pi;
            starText = ti;
            continue;
        }
        qsizetype next = ti;
        const char32_t c = codePointAt(text, next);
        if (pi < m && matchOne(m_tokens[pi], c)) {
            ++pi;
            ti = next;
        } else if (starText >= 0) {
            pi = starTok;
            codePointAt(text, starText);
            ti = starText;
        } else {
            return false;
        }
    }
    while (pi < m && m_tokens[pi].kind == Token::Star)
        ++pi;
    return pi == m;
}

bool WildcardMatch(const QString& text, const QString& pattern) {
    return WildcardPattern(pattern).matches(text);
}
