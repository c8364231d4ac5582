#include "core/ConcealedCaption.h"

#include <algorithm>
#include <string>

namespace {

// Matched anywhere in the caption, letter case ignored ("Card PIN:", "Passcode").
constexpr std::u16string_view kSecretWords[] = {
    u"pin", u"puk", u"cvc", u"cvv", u"security code", u"password", u"passcode", u"passphrase", u"secret",
};

char16_t lowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

bool IsConcealedCaption(std::u16string_view caption) {
    std::u16string lower(caption);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    return std::any_of(std::begin(kSecretWords), std::end(kSecretWords),
                       [&](std::u16string_view word) { return lower.find(word) != std::u16string::npos; });
}
