#include "editor/rtf/RtfKeywords.h"

#include <array>
#include <cstring>

namespace rtf {
namespace {

struct Entry {
    std::string_view name;
    Keyword keyword;
};

constexpr Entry kEntries[] = {
    {"ansi", Keyword::Ansi},
    {"mac", Keyword::Mac},
    {"pc", Keyword::Pc},
    {"pca", Keyword::Pca},
    {"ansicpg", Keyword::AnsiCpg},
    {"deff", Keyword::Deff},
    {"uc", Keyword::Uc},
    {"u", Keyword::U},
    {"upr", Keyword::Upr},
    {"ud", Keyword::Ud},
    {"fonttbl", Keyword::FontTable},
    {"colortbl", Keyword::ColourTable},
    {"pict", Keyword::Pict},
    {"pn", Keyword::Pn},
    {"listtable", Keyword::ListTable},
    {"listoverridetable", Keyword::ListOverrideTable},
    {"list", Keyword::List},
    {"listlevel", Keyword::ListLevel},
    {"listoverride", Keyword::ListOverride},
    {"shppict", Keyword::ShpPict},
    {"fldrslt", Keyword::FldRslt},
    {"field", Keyword::Field},
    // Destinations whose content is never shown text.
    {"stylesheet", Keyword::SkipDestination},
    {"info", Keyword::SkipDestination},
    {"header", Keyword::SkipDestination},
    {"headerl", Keyword::SkipDestination},
    {"headerr", Keyword::SkipDestination},
    {"headerf", Keyword::SkipDestination},
    {"footer", Keyword::SkipDestination},
    {"footerl", Keyword::SkipDestination},
    {"footerr", Keyword::SkipDestination},
    {"footerf", Keyword::SkipDestination},
    {"footnote", Keyword::SkipDestination},
    {"annotation", Keyword::SkipDestination},
    {"atnid", Keyword::SkipDestination},
    {"atnauthor", Keyword::SkipDestination},
    {"pntext", Keyword::SkipDestination},
    {"pntxta", Keyword::SkipDestination},
    {"pntxtb", Keyword::SkipDestination},
    {"listtext", Keyword::SkipDestination},
    {"leveltext", Keyword::SkipDestination},
    {"levelnumbers", Keyword::SkipDestination},
    {"listname", Keyword::SkipDestination},
    {"fldinst", Keyword::SkipDestination},
    {"nonshppict", Keyword::SkipDestination},
    {"comment", Keyword::SkipDestination},
    {"xe", Keyword::SkipDestination},
    {"tc", Keyword::SkipDestination},
    {"txe", Keyword::SkipDestination},
    {"rxe", Keyword::SkipDestination},
    {"bkmkstart", Keyword::SkipDestination},
    {"bkmkend", Keyword::SkipDestination},
    {"filetbl", Keyword::SkipDestination},
    {"revtbl", Keyword::SkipDestination},
    {"rsidtbl", Keyword::SkipDestination},
    {"ftnsep", Keyword::SkipDestination},
    {"ftnsepc", Keyword::SkipDestination},
    {"ftncn", Keyword::SkipDestination},
    {"aftnsep", Keyword::SkipDestination},
    {"aftnsepc", Keyword::SkipDestination},
    {"aftncn", Keyword::SkipDestination},
    {"objdata", Keyword::SkipDestination},
    {"objclass", Keyword::SkipDestination},
    {"template", Keyword::SkipDestination},
    {"private", Keyword::SkipDestination},
    {"themedata", Keyword::SkipDestination},
    {"colorschememapping", Keyword::SkipDestination},
    {"datastore", Keyword::SkipDestination},
    {"latentstyles", Keyword::SkipDestination},
    {"xmlnstbl", Keyword::SkipDestination},
    {"pnseclvl", Keyword::SkipDestination},
    {"f", Keyword::F},
    {"fcharset", Keyword::FCharset},
    {"cpg", Keyword::Cpg},
    {"fnil", Keyword::FontFamily},
    {"froman", Keyword::FontFamily},
    {"fswiss", Keyword::FontFamily},
    {"fmodern", Keyword::FontFamily},
    {"fscript", Keyword::FontFamily},
    {"fdecor", Keyword::FontFamily},
    {"ftech", Keyword::FontFamily},
    {"fbidi", Keyword::FontFamily},
    {"red", Keyword::Red},
    {"green", Keyword::Green},
    {"blue", Keyword::Blue},
    {"plain", Keyword::Plain},
    {"b", Keyword::B},
    {"i", Keyword::I},
    {"ul", Keyword::Ul},
    {"uld", Keyword::Ul},
    {"uldash", Keyword::Ul},
    {"uldashd", Keyword::Ul},
    {"uldashdd", Keyword::Ul},
    {"uldb", Keyword::Ul},
    {"ulth", Keyword::Ul},
    {"ulw", Keyword::Ul},
    {"ulwave", Keyword::Ul},
    {"ulnone", Keyword::UlNone},
    {"strike", Keyword::Strike},
    {"striked", Keyword::StrikeD},
    {"fs", Keyword::Fs},
    {"cf", Keyword::Cf},
    {"cb", Keyword::Cb},
    {"highlight", Keyword::Highlight},
    {"chcbpat", Keyword::ChCbPat},
    {"v", Keyword::Hidden},
    {"pard", Keyword::Pard},
    {"ql", Keyword::Ql},
    {"qc", Keyword::Qc},
    {"qr", Keyword::Qr},
    {"qj", Keyword::Qj},
    {"qd", Keyword::Qd},
    {"li", Keyword::Li},
    {"ri", Keyword::Ri},
    {"fi", Keyword::Fi},
    {"ls", Keyword::Ls},
    {"ilvl", Keyword::Ilvl},
    {"pnlvlblt", Keyword::PnLvlBlt},
    {"pnlvlbody", Keyword::PnLvlBody},
    {"pnlvlcont", Keyword::PnLvlCont},
    {"pnlvl", Keyword::PnLvl},
    {"pndec", Keyword::PnDec},
    {"pnlcltr", Keyword::PnLcLtr},
    {"pnucltr", Keyword::PnUcLtr},
    {"pnlcrm", Keyword::PnLcRm},
    {"pnucrm", Keyword::PnUcRm},
    {"pnstart", Keyword::PnStart},
    {"pnord", Keyword::PnOrd},
    {"pncard", Keyword::PnOrd},
    {"pnordt", Keyword::PnOrd},
    {"levelnfc", Keyword::LevelNfc},
    {"levelnfcn", Keyword::LevelNfc},
    {"levelstartat", Keyword::LevelStartAt},
    {"listid", Keyword::ListId},
    {"pngblip", Keyword::PngBlip},
    {"jpegblip", Keyword::JpegBlip},
    {"picwgoal", Keyword::PicWGoal},
    {"pichgoal", Keyword::PicHGoal},
    {"picscalex", Keyword::PicScaleX},
    {"picscaley", Keyword::PicScaleY},
    {"bin", Keyword::Bin},
    {"par", Keyword::Par},
    {"line", Keyword::Line},
    {"tab", Keyword::Tab},
    {"cell", Keyword::Cell},
    {"nestcell", Keyword::Cell},
    {"row", Keyword::Row},
    {"nestrow", Keyword::Row},
    {"page", Keyword::Page},
    {"sect", Keyword::Sect},
    {"emdash", Keyword::EmDash},
    {"endash", Keyword::EnDash},
    {"emspace", Keyword::EmSpace},
    {"enspace", Keyword::EnSpace},
    {"qmspace", Keyword::QmSpace},
    {"bullet", Keyword::Bullet},
    {"lquote", Keyword::LQuote},
    {"rquote", Keyword::RQuote},
    {"ldblquote", Keyword::LDblQuote},
    {"rdblquote", Keyword::RDblQuote},
    {"zwj", Keyword::Zwj},
    {"zwnj", Keyword::Zwnj},
    {"ltrmark", Keyword::LtrMark},
    {"rtlmark", Keyword::RtlMark},
};

// Open addressing over a hash of the name: control words are looked up once
// per word in every body that find scans, so this must be cheap.
constexpr size_t kSlots = 1024;

constexpr uint32_t hashName(std::string_view name) {
    uint32_t h = 2166136261u;
    for (char c : name) {
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    }
    return h;
}

struct Table {
    std::array<int16_t, kSlots> slots{};
    constexpr Table() {
        for (auto& s : slots) {
            s = -1;
        }
        for (size_t i = 0; i < std::size(kEntries); ++i) {
            size_t slot = hashName(kEntries[i].name) & (kSlots - 1);
            while (slots[slot] >= 0) {
                slot = (slot + 1) & (kSlots - 1);
            }
            slots[slot] = static_cast<int16_t>(i);
        }
    }
};

constexpr Table kTable;
static_assert(std::size(kEntries) < kSlots / 2, "keyword table too full");

} // namespace

Keyword LookupKeyword(std::string_view name) {
    size_t slot = hashName(name) & (kSlots - 1);
    while (kTable.slots[slot] >= 0) {
        const Entry& e = kEntries[kTable.slots[slot]];
        // Names are short: compared here rather than through a library call.
        if (e.name.size() == name.size()) {
            size_t i = 0;
            while (i < name.size() && e.name[i] == name[i]) {
                ++i;
            }
            if (i == name.size()) {
                return e.keyword;
            }
        }
        slot = (slot + 1) & (kSlots - 1);
    }
    return Keyword::Unknown;
}

char16_t SpecialCharacter(Keyword keyword) {
    switch (keyword) {
    case Keyword::Line:
        return u'\v';
    case Keyword::Tab:
    case Keyword::Cell:
        return u'\t';
    case Keyword::EmDash:
        return u'\u2014';
    case Keyword::EnDash:
        return u'\u2013';
    case Keyword::EmSpace:
        return u'\u2003';
    case Keyword::EnSpace:
        return u'\u2002';
    case Keyword::QmSpace:
        return u'\u2005';
    case Keyword::Bullet:
        return u'\u2022';
    case Keyword::LQuote:
        return u'\u2018';
    case Keyword::RQuote:
        return u'\u2019';
    case Keyword::LDblQuote:
        return u'\u201C';
    case Keyword::RDblQuote:
        return u'\u201D';
    case Keyword::Zwj:
        return u'\u200D';
    case Keyword::Zwnj:
        return u'\u200C';
    case Keyword::LtrMark:
        return u'\u200E';
    case Keyword::RtlMark:
        return u'\u200F';
    default:
        return 0;
    }
}

} // namespace rtf
