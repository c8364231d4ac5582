#include "cli/Utf.h"

#include <ostream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Writes the UTF-8 bytes of `cp` at `dst` and returns the end.
char* encodeUtf8(char* dst, char32_t cp) {
    if (cp < 0x80) {
        *dst++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *dst++ = static_cast<char>(0xC0 | (cp >> 6));
        *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *dst++ = static_cast<char>(0xE0 | (cp >> 12));
        *dst++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *dst++ = static_cast<char>(0xF0 | (cp >> 18));
        *dst++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *dst++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *dst++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return dst;
}

} // namespace

bool IsWellFormedUtf16(std::u16string_view s) {
    for (size_t i = 0; i < s.size(); ++i) {
        if (isHigh(s[i])) {
            if (i + 1 >= s.size() || !isLow(s[i + 1]))
                return false;
            ++i;
        } else if (isLow(s[i])) {
            return false;
        }
    }
    return true;
}

std::string ToUtf8(std::u16string_view s) {
    std::string out;
    AppendUtf8(out, s);
    return out;
}

void AppendUtf8(std::string& out, std::u16string_view s) {
    // Room for the longest form (three bytes a unit; a pair takes four for
    // two), written through a pointer and cut to size at the end.
    const size_t start = out.size();
    out.resize(start + 3 * s.size());
    char* dst = out.data() + start;
    const char16_t* src = s.data();
    const char16_t* const end = src + s.size();
    while (src < end) {
#if defined(__SSE2__)
        // Eight ASCII units at a time, the bulk of most text.
        while (end - src >= 8) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
            const __m128i high = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80)));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(units, units));
            src += 8;
            dst += 8;
        }
        if (src == end)
            break;
#endif
        const char16_t c = *src++;
        char32_t cp = c;
        if (isHigh(c) && src < end && isLow(*src))
            cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (*src++ - 0xDC00);
        else if (isHigh(c) || isLow(c))
            cp = 0xFFFD;
        dst = encodeUtf8(dst, cp);
    }
    out.resize(static_cast<size_t>(dst - out.data()));
}

void WriteUtf8(std::ostream& out, std::u16string_view s) {
    constexpr size_t kPiece = size_t{32} << 10;
    std::string piece;
    while (!s.empty()) {
        size_t n = std::min(kPiece, s.size());
        // A surrogate pair stays in one piece.
        if (n < s.size() && isHigh(s[n - 1]) && isLow(s[n]))
            ++n;
        piece.clear();
        AppendUtf8(piece, s.substr(0, n));
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        s.remove_prefix(n);
    }
}

std::optional<std::u16string> FromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        size_t extra = 0;
        char32_t minimum = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            cp = b0 & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            cp = b0 & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            cp = b0 & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (s.size() - i <= extra) // the sequence is cut off
            return std::nullopt;
        for (size_t k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += extra + 1;
    }
    return out;
}

std::string DisplayLine(std::u16string_view s) {
    std::string text = ToUtf8(s);
    for (auto& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return text;
}
