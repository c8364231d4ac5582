#include "cli/Base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> makeReverse() {
    std::array<int8_t, 256> table{};
    for (auto& v : table)
        v = -1;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    return table;
}

constexpr auto kReverse = makeReverse();

} // namespace

std::string EncodeBase64(const std::vector<uint8_t>& data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= data.size(); i += 3) {
        const uint32_t v = (uint32_t(data[i]) << 16) | (uint32_t(data[i + 1]) << 8) | data[i + 2];
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    const size_t rest = data.size() - i;
    if (rest > 0) {
        uint32_t v = uint32_t(data[i]) << 16;
        if (rest == 2)
            v |= uint32_t(data[i + 1]) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        size_t padding = 0;
        if (last) {
            if (text[i + 3] == '=')
                padding = text[i + 2] == '=' ? 2 : 1;
        }
        uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int8_t d = kReverse[static_cast<unsigned char>(text[i + k])];
            if (k >= 4 - padding) {
                v <<= 6;
                continue;
            }
            if (d < 0)
                return std::nullopt;
            v = (v << 6) | static_cast<uint32_t>(d);
        }
        // Bits below the last whole byte must be zero, or two texts would
        // decode to the same bytes.
        if ((padding == 1 && (v & 0xFF) != 0) || (padding == 2 && (v & 0xFFFF) != 0))
            return std::nullopt;
        out.push_back(static_cast<uint8_t>(v >> 16));
        if (padding < 2)
            out.push_back(static_cast<uint8_t>(v >> 8));
        if (padding < 1)
            out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}
