#include "cli/Utf.h"

#include <ostream>

namespace {

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
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
    out.reserve(out.size() + s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (isHigh(c) && i + 1 < s.size() && isLow(s[i + 1])) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00));
            ++i;
        } else if (isHigh(c) || isLow(c)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, c);
        }
    }
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
