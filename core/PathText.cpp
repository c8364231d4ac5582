#include "core/PathText.h"

#include <cstdint>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the sequence a lead byte starts and the bits it carries; 0 for a
// byte that cannot start one.
int sequenceLength(uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::u16string PathToUtf16(std::string_view path) {
    std::u16string out;
    out.reserve(path.size());
    size_t i = 0;
    while (i < path.size()) {
        const auto lead = static_cast<uint8_t>(path[i]);
        const int length = sequenceLength(lead);
        if (length == 1) {
            out.push_back(lead);
            ++i;
            continue;
        }
        uint32_t cp = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length != 0 && i + static_cast<size_t>(length) <= path.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto b = static_cast<uint8_t>(path[i + static_cast<size_t>(k)]);
            if ((b & 0xC0) != 0x80)
                valid = false;
            cp = (cp << 6) | (b & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        if (valid && ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                      (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))))
            valid = false;
        if (!valid) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<size_t>(length);
    }
    return out;
}
