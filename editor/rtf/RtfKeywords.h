#pragma once
// The RTF control words the reader acts on, and a fast lookup from a control
// word's name to its meaning. Words not in the table are ignored, except that
// an unknown destination marked with \* is skipped as a whole.

#include <cstdint>
#include <string_view>

namespace rtf {

enum class Keyword : uint8_t {
    Unknown,
    // Document and code pages.
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Upr,
    Ud,
    // Destinations the reader handles.
    FontTable,
    ColourTable,
    Pict,
    Pn,
    ListTable,
    ListOverrideTable,
    List,
    ListLevel,
    ListOverride,
    ShpPict,
    FldRslt,
    Field,
    // Destinations skipped as a whole.
    SkipDestination,
    // Font table entries.
    F,
    FCharset,
    Cpg,
    FontFamily,
    // Colour table entries.
    Red,
    Green,
    Blue,
    // Character formatting.
    Plain,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    StrikeD,
    Fs,
    Cf,
    Cb,
    Highlight,
    ChCbPat,
    Hidden,
    // Paragraph formatting.
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Qd,
    Li,
    Ri,
    Fi,
    Ls,
    Ilvl,
    // Numbering (\pn form and list table).
    PnLvlBlt,
    PnLvlBody,
    PnLvlCont,
    PnLvl,
    PnDec,
    PnLcLtr,
    PnUcLtr,
    PnLcRm,
    PnUcRm,
    PnStart,
    PnOrd,
    LevelNfc,
    LevelStartAt,
    ListId,
    // Pictures.
    PngBlip,
    JpegBlip,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    Bin,
    // Text.
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Page,
    Sect,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QmSpace,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    Zwj,
    Zwnj,
    LtrMark,
    RtlMark,
};

// The meaning of a control word; Keyword::Unknown for any other.
Keyword LookupKeyword(std::string_view name);

// The character a word such as \tab or \emdash stands for; 0 for other words.
char16_t SpecialCharacter(Keyword keyword);

} // namespace rtf
