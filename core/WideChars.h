#pragma once
// Character classes and case folding of UTF-16 text as the C library's wide
// functions give them. They are read through the C.UTF-8 locale, so that
// every script folds and classifies, not only ASCII, whatever the user's own
// locale settings are.

#include <cstdint>

namespace WideChars {

// The lower-case form of a unit beyond ASCII (see Lower).
char16_t LowerBeyondAscii(char16_t c);

// The lower-case form of one UTF-16 unit; a surrogate, or a unit whose lower
// case would not fit one unit, stays as it is. ASCII is folded inline: find
// folds every character of every text it searches.
inline char16_t Lower(char16_t c) {
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    return LowerBeyondAscii(c);
}

// White space (iswspace) and punctuation (iswpunct) of one code point.
bool IsSpace(char32_t c);
bool IsPunct(char32_t c);
// What ends a word: punctuation or white space.
inline bool IsWordBreak(char32_t c) {
    return IsSpace(c) || IsPunct(c);
}

} // namespace WideChars
