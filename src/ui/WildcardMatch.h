#pragma once

#include <QString>
#include <vector>

// Pattern matching with the usual wildcard rules, letter case ignored: "*" any run of characters,
// "?" one character, "#" one digit 0-9, "[abc]" / "[a-z]" one character of a list, "[!abc]" one
// character not in it. Characters are whole Unicode characters (a pair of surrogates is one).
// A "[" without a closing "]" stands for itself; "[]" stands for no character at all, "[!]" for
// any one character; a range written high to low ("[z-a]") matches nothing.
bool WildcardMatch(const QString& text, const QString& pattern);

// A pattern read once and matched against many texts.
class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern);
    bool matches(QStringView text) const;

private:
    struct Token {
        enum Kind { Literal, Any, Digit, Set, Star } kind = Literal;
        char32_t ch = 0;                                   // case-folded, for Literal
        std::vector<std::pair<char32_t, char32_t>> ranges; // for Set
        bool negate = false;
    };
    static Token token(Token::Kind kind, char32_t ch = 0);
    bool matchOne(const Token& t, char32_t c) const;
    std::vector<Token> m_tokens;
};
