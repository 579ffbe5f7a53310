#pragma once

#include <QString>

// Pattern matching with the usual wildcard rules, letter case ignored: "*" any run of characters,
// "?" one character, "#" one digit, "[abc]" / "[a-z]" one character of a list, "[!abc]" one
// character not in it. An unclosed "[" stands for itself; "[]" matches nothing (no character).
bool WildcardMatch(const QString& text, const QString& pattern);
