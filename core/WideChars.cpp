#include "core/WideChars.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

locale_t utf8Locale() {
    static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

namespace WideChars {

char16_t LowerBeyondAscii(char16_t c) {
    if (c >= 0xD800 && c <= 0xDFFF)
        return c;
    const locale_t loc = utf8Locale();
    if (!loc)
        return c;
    const wint_t lower = towlower_l(static_cast<wint_t>(c), loc);
    return lower <= 0xFFFF ? static_cast<char16_t>(lower) : c;
}

bool IsSpace(char32_t c) {
    if (c < 0x80)
        return c == u' ' || (c >= u'\t' && c <= u'\r');
    const locale_t loc = utf8Locale();
    return loc && iswspace_l(static_cast<wint_t>(c), loc);
}

bool IsPunct(char32_t c) {
    if (c < 0x80)
        return (c > 0x20 && c < 0x30) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
               (c >= 0x7B && c <= 0x7E);
    const locale_t loc = utf8Locale();
    return loc && iswpunct_l(static_cast<wint_t>(c), loc);
}

} // namespace WideChars
