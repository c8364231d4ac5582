#include "editor/rtf/RtfTables.h"

#include "core/CodePage.h"

#include <algorithm>

namespace rtf {
namespace {

// The code page of a font's \fcharset; 0 means "the document's code page".
int codePageOfCharset(int charset) {
    switch (charset) {
    case 2:
        return 1252; // Symbol: no code page, read byte for byte
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 0;
    }
}

Numbering numberingOfNfc(int nfc) {
    switch (nfc) {
    case 1:
        return Numbering::UpperRoman;
    case 2:
        return Numbering::LowerRoman;
    case 3:
        return Numbering::UpperLetter;
    case 4:
        return Numbering::LowerLetter;
    case 23:
        return Numbering::Bullet;
    case 255:
        return Numbering::None;
    default:
        return Numbering::Arabic;
    }
}

// Font names are short; a longer one is cut rather than grown without end.
constexpr size_t kMaxFaceLength = 256;

} // namespace

void RtfTables::setDocumentCodePage(int codePage) {
    if (CodePage::isSupported(codePage)) {
        m_docCodePage = codePage;
        m_cachedFont = kNoFont;
    }
}

void RtfTables::beginFontEntry(int number, size_t depth) {
    m_entry = number;
    m_entryDepth = depth;
    m_entryCodePage = 0;
    m_nameBytes.clear();
    m_name.clear();
}

void RtfTables::setFontCharset(int charset) {
    if (m_entry >= 0) {
        m_entryCodePage = codePageOfCharset(charset);
    }
}

void RtfTables::setFontCodePage(int codePage) {
    if (m_entry >= 0 && CodePage::isSupported(codePage)) {
        m_entryCodePage = codePage;
    }
}

void RtfTables::fontNameBytes(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        if (*p == ';') {
            commitFontName();
        } else if (m_entry >= 0 && m_nameBytes.size() + m_name.size() < kMaxFaceLength) {
            m_nameBytes.push_back(*p);
        }
    }
}

void RtfTables::fontNameUnit(char16_t unit) {
    if (m_entry < 0 || m_nameBytes.size() + m_name.size() >= kMaxFaceLength) {
        return;
    }
    CodePage::appendUtf16(m_name, m_nameBytes, entryCodePage());
    m_nameBytes.clear();
    m_name.push_back(unit);
}

void RtfTables::fontGroupClosed(size_t depth) {
    // An entry group that ends without its ';' still names its font.
    if (m_entry >= 0 && depth + 1 == m_entryDepth && (!m_nameBytes.empty() || !m_name.empty())) {
        commitFontName();
    }
}

void RtfTables::commitFontName() {
    if (m_entry < 0) {
        m_nameBytes.clear();
        m_name.clear();
        return;
    }
    CodePage::appendUtf16(m_name, m_nameBytes, entryCodePage());
    const size_t first = m_name.find_first_not_of(u' ');
    const size_t last = m_name.find_last_not_of(u' ');
    Font& font = m_fonts[m_entry];
    font.face = first == std::u16string::npos ? std::u16string() : m_name.substr(first, last - first + 1);
    font.codePage = m_entryCodePage;
    m_cachedFont = kNoFont;
    m_nameBytes.clear();
    m_name.clear();
    m_entry = -1;
}

int RtfTables::codePageOf(int font) {
    if (font < 0) {
        font = m_defaultFont;
    }
    if (font != m_cachedFont) {
        m_cachedFont = font;
        const auto it = m_fonts.find(font);
        m_cachedCodePage = it != m_fonts.end() && it->second.codePage ? it->second.codePage : m_docCodePage;
    }
    return m_cachedCodePage;
}

const std::u16string& RtfTables::faceOf(int font) const {
    static const std::u16string none;
    const auto it = m_fonts.find(font < 0 ? m_defaultFont : font);
    return it != m_fonts.end() ? it->second.face : none;
}

void RtfTables::beginColourTable() {
    m_colours.clear();
    m_red = m_green = m_blue = -1;
}

void RtfTables::colourTableBytes(const char* begin, const char* end) {
    for (const char* p = begin; p < end; ++p) {
        if (*p != ';') {
            continue;
        }
        if (m_red < 0 && m_green < 0 && m_blue < 0) {
            m_colours.push_back(kAutoColour);
        } else {
            m_colours.push_back(makeColour(static_cast<uint8_t>(std::max(m_red, 0)),
                                           static_cast<uint8_t>(std::max(m_green, 0)),
                                           static_cast<uint8_t>(std::max(m_blue, 0))));
        }
        m_red = m_green = m_blue = -1;
    }
}

void RtfTables::colourTableClosed() {
    // A last entry without its ';'.
    if (m_red >= 0 || m_green >= 0 || m_blue >= 0) {
        const char end = ';';
        colourTableBytes(&end, &end + 1);
    }
}

Colour RtfTables::colour(int index) const {
    return index >= 0 && static_cast<size_t>(index) < m_colours.size() ? m_colours[index] : kAutoColour;
}

void RtfTables::beginListLevel() {
    if (!m_lists.empty()) {
        m_lists.back().levels.emplace_back();
    }
}

void RtfTables::setListId(int id) {
    if (!m_lists.empty()) {
        m_listIndex[id] = m_lists.size() - 1;
    }
}

void RtfTables::setLevelNumberFormat(int nfc) {
    if (!m_lists.empty() && !m_lists.back().levels.empty()) {
        m_lists.back().levels.back().nfc = nfc;
    }
}

void RtfTables::setLevelStart(int start) {
    if (!m_lists.empty() && !m_lists.back().levels.empty()) {
        m_lists.back().levels.back().startAt = start;
    }
}

Numbering RtfTables::numberingOf(int ls, int ilvl, int* start) const {
    const auto ov = m_overrides.find(ls);
    if (ov == m_overrides.end()) {
        return Numbering::None;
    }
    const auto index = m_listIndex.find(ov->second);
    if (index == m_listIndex.end()) {
        return Numbering::None;
    }
    const List& list = m_lists[index->second];
    if (ilvl < 0 || static_cast<size_t>(ilvl) >= list.levels.size()) {
        return Numbering::None;
    }
    *start = list.levels[ilvl].startAt;
    return numberingOfNfc(list.levels[ilvl].nfc);
}

} // namespace rtf
