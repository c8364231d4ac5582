#pragma once
// One template: a name and the captions of the seven data fields of a note.

#include <array>
#include <cstdint>
#include <string>

inline constexpr int kFieldCount = 7;

struct TemplateRecord {
    int32_t templateId = 0;
    std::u16string name;
    std::array<std::u16string, kFieldCount> captions;

    // The caption at position 0..6; any other position gives the empty string.
    const std::u16string& caption(int position) const;

    bool operator==(const TemplateRecord&) const = default;
};
