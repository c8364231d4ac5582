#pragma once
// A small rich-text model: what a note body can carry. The RTF reader fills it,
// the RTF writer writes it, and the editor maps it to and from its document.
// Plain C++, no Qt.

#include <cstdint>
#include <string>
#include <vector>

namespace rtf {

// 0x00BBGGRR like the stored colour values; kAutoColour means "automatic".
using Colour = uint32_t;
inline constexpr Colour kAutoColour = 0xFF000000;

inline Colour makeColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
inline uint8_t red(Colour c) {
    return c & 0xFF;
}
inline uint8_t green(Colour c) {
    return (c >> 8) & 0xFF;
}
inline uint8_t blue(Colour c) {
    return (c >> 16) & 0xFF;
}

struct CharFormat {
    std::u16string face = u"Tahoma";
    int sizeTwips = 200; // 10 pt
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    Colour textColour = kAutoColour;
    Colour backColour = kAutoColour;

    bool operator==(const CharFormat&) const = default;
};

struct Picture {
    enum class Kind { Png, Jpeg };
    Kind kind = Kind::Png;
    std::vector<uint8_t> data;
    int widthTwips = 0;  // shown size (\picwgoal); 0 when not given
    int heightTwips = 0; // shown size (\pichgoal); 0 when not given

    bool operator==(const Picture&) const = default;
};

// A stretch of text in one format, or one picture (then text is empty).
struct Run {
    std::u16string text; // may hold u'\t' and u'\v' (a line break inside the paragraph)
    CharFormat format;
    bool isPicture = false;
    Picture picture;

    bool operator==(const Run&) const = default;
};

enum class Alignment { Left, Center, Right, Justify };

enum class Numbering {
    None,
    Bullet,      // \pnlvlblt
    Arabic,      // \pndec: 1, 2, 3
    LowerLetter, // \pnlcltr: a, b, c
    UpperLetter, // \pnucltr: A, B, C
    LowerRoman,  // \pnlcrm: i, ii, iii
    UpperRoman,  // \pnucrm: I, II, III
};

struct Paragraph {
    Alignment alignment = Alignment::Left;
    Numbering numbering = Numbering::None;
    int numberingStart = 1;
    int leftIndentTwips = 0;
    int rightIndentTwips = 0;
    int firstIndentTwips = 0; // relative to the left indent, may be negative
    std::vector<Run> runs;

    bool operator==(const Paragraph&) const = default;
};

struct Document {
    std::vector<Paragraph> paragraphs; // at least one once read

    bool operator==(const Document&) const = default;
};

} // namespace rtf
