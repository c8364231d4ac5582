#pragma once
// Base64 (standard alphabet, with padding) for attachment bytes in the JSON
// export. Decoding is strict: no white space, no missing or extra padding.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::string EncodeBase64(const std::vector<uint8_t>& data);
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text);
