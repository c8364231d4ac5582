#include "editor/rtf/RtfParser.h"

#include "core/CodePage.h"

#include <algorithm>
#include <array>

namespace rtf {
namespace {

constexpr int kMaxParam = 2'000'000'000;
constexpr int kMaxNameLength = 32;
constexpr int kMaxIndent = 31680; // 22 inches, the widest page RTF describes
constexpr int kMaxPictureTwips = 1'000'000;

// Bytes that end a stretch of plain text.
constexpr std::array<bool, 256> makeSpecial() {
    std::array<bool, 256> t{};
    t['{'] = t['}'] = t['\\'] = t['\r'] = t['\n'] = t['\0'] = true;
    return t;
}
constexpr std::array<bool, 256> kSpecial = makeSpecial();

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads a control word's name and parameter at `pos` (just after the
// backslash, on a letter). Moves `pos` past the word and its delimiting space.
struct WordToken {
    std::string_view name;
    bool hasParam = false;
    int param = 0;
};
WordToken readWord(const char*& pos, const char* end) {
    WordToken w;
    const char* start = pos;
    while (pos < end && isLetter(*pos)) {
        ++pos;
    }
    w.name = std::string_view(start, std::min<size_t>(pos - start, kMaxNameLength));
    bool negative = false;
    if (pos + 1 < end && *pos == '-' && isDigit(pos[1])) {
        negative = true;
        ++pos;
    }
    long long value = 0;
    while (pos < end && isDigit(*pos)) {
        w.hasParam = true;
        if (value <= kMaxParam) {
            value = value * 10 + (*pos - '0');
        }
        ++pos;
    }
    value = std::min<long long>(value, kMaxParam);
    w.param = static_cast<int>(negative ? -value : value);
    if (pos < end && *pos == ' ') {
        ++pos;
    }
    return w;
}

int clampInt(int v, int lo, int hi) {
    return std::max(lo, std::min(v, hi));
}

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

} // namespace

void RtfParser::parse(std::string_view rtf) {
    m_pos = rtf.data();
    m_end = rtf.data() + rtf.size();
    bool started = false;
    while (m_pos < m_end && !m_done) {
        const char c = *m_pos;
        if (!started) {
            // Nothing counts before the document's opening brace.
            ++m_pos;
            if (c == '{') {
                started = true;
                openGroup();
            }
            continue;
        }
        switch (c) {
        case '{':
            ++m_pos;
            openGroup();
            break;
        case '}':
            ++m_pos;
            closeGroup();
            break;
        case '\\':
            escape();
            break;
        case '\r':
        case '\n':
        case '\0':
            ++m_pos;
            break;
        default: {
            const char* start = m_pos;
            while (m_pos < m_end && !kSpecial[static_cast<uint8_t>(*m_pos)]) {
                ++m_pos;
            }
            textBytes(start, m_pos);
        }
        }
    }
    finishDocument();
}

void RtfParser::escape() {
    ++m_pos; // the backslash
    if (m_pos >= m_end) {
        return;
    }
    const char c = *m_pos;
    if (isLetter(c)) {
        const WordToken w = readWord(m_pos, m_end);
        controlWord(w.name, w.hasParam, w.param);
        return;
    }
    ++m_pos;
    if (c != '\'') {
        controlSymbol(c);
        return;
    }
    int value = 0;
    int digits = 0;
    while (digits < 2 && m_pos < m_end && hexValue(*m_pos) >= 0) {
        value = value * 16 + hexValue(*m_pos);
        ++m_pos;
        ++digits;
    }
    if (digits == 0) {
        return;
    }
    if (m_state.dest == Dest::Pict) {
        return; // pictures are hex digits, not \'hh
    }
    const char byte = static_cast<char>(value);
    textBytes(&byte, &byte + 1);
}

void RtfParser::openGroup() {
    flushBytes();
    m_skipFallback = 0;
    m_starNext = false;
    if (m_stack.size() >= static_cast<size_t>(kMaxDepth)) {
        ++m_overflowDepth;
        return;
    }
    m_stack.push_back(m_state);
}

void RtfParser::closeGroup() {
    flushBytes();
    m_skipFallback = 0;
    m_starNext = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.empty()) {
        m_done = true;
        return;
    }
    if (m_stack.size() == 1) {
        // The document's own group ends: its last paragraph takes the
        // document's paragraph properties, not those outside it.
        finishDocument();
        m_done = true;
        return;
    }
    const State closing = m_state;
    m_state = m_stack.back();
    m_stack.pop_back();

    switch (closing.dest) {
    case Dest::FontTable:
        // An entry group that ends without its ';' still names its font.
        if (m_fontEntry >= 0 && m_stack.size() + 1 == m_fontEntryDepth &&
            (!m_fontNameBytes.empty() || !m_fontName.empty())) {
            commitFontName();
        }
        break;
    case Dest::ColourTable:
        if (m_state.dest != Dest::ColourTable && (m_red >= 0 || m_green >= 0 || m_blue >= 0)) {
            colourTableByte(';');
        }
        break;
    case Dest::Pn:
        if (m_state.dest != Dest::Pn) {
            finishPn();
        }
        break;
    case Dest::Pict:
        if (m_state.dest != Dest::Pict) {
            finishPicture(closing);
        }
        break;
    default:
        break;
    }
}

void RtfParser::skipGroup() {
    int depth = 1;
    while (m_pos < m_end) {
        const char c = *m_pos++;
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                closeGroup();
                return;
            }
        } else if (c == '\\' && m_pos < m_end) {
            if (isLetter(*m_pos)) {
                const WordToken w = readWord(m_pos, m_end);
                if (w.name == "bin" && w.param > 0) {
                    m_pos += std::min<size_t>(static_cast<size_t>(w.param), m_end - m_pos);
                }
            } else {
                ++m_pos;
            }
        }
    }
}

void RtfParser::binary(int count) {
    const size_t n = std::min<size_t>(static_cast<size_t>(std::max(count, 0)), m_end - m_pos);
    if (m_state.dest == Dest::Pict && n > 0) {
        if (m_mode == Mode::Full) {
            m_pict.data.insert(m_pict.data.end(), m_pos, m_pos + n);
        }
        m_pictHasData = true;
    }
    m_pos += n;
}

void RtfParser::controlSymbol(char c) {
    if (c == '*') {
        m_starNext = true;
        return;
    }
    if (c == '\\' || c == '{' || c == '}') {
        textBytes(&c, &c + 1);
        return;
    }
    flushBytes();
    if (m_skipFallback > 0) {
        --m_skipFallback;
        return;
    }
    switch (c) {
    case '~':
        appendUnit(u'\u00A0');
        break;
    case '-':
        appendUnit(u'\u00AD');
        break;
    case '_':
        appendUnit(u'\u2011');
        break;
    case '\t':
        appendUnit(u'\t');
        break;
    case '\r':
    case '\n':
        if (m_state.dest == Dest::Normal) {
            endParagraph();
        }
        break;
    default:
        break;
    }
}

void RtfParser::textBytes(const char* begin, const char* end) {
    if (m_skipFallback > 0) {
        const auto n = std::min<ptrdiff_t>(m_skipFallback, end - begin);
        m_skipFallback -= static_cast<int>(n);
        begin += n;
    }
    if (begin == end) {
        return;
    }
    switch (m_state.dest) {
    case Dest::Normal: {
        if (m_state.hidden) {
            return;
        }
        const int cp = codePageOf(m_state);
        if (!m_bytes.empty() && cp != m_bytesCodePage) {
            flushBytes();
        }
        if (cp == CodePage::kAnsi) {
            // A table per byte: no need to gather the bytes first.
            resolvePendingHigh();
            CodePage::appendUtf16(target(), std::string_view(begin, end - begin), cp);
            m_paraHasContent = true;
            break;
        }
        // Other code pages go through iconv, and double-byte characters may
        // arrive as two \'hh: gather them and convert once.
        m_bytesCodePage = cp;
        m_bytes.append(begin, end);
        break;
    }
    case Dest::FontTable:
        for (const char* p = begin; p < end; ++p) {
            fontNameByte(static_cast<uint8_t>(*p));
        }
        break;
    case Dest::ColourTable:
        for (const char* p = begin; p < end; ++p) {
            colourTableByte(static_cast<uint8_t>(*p));
        }
        break;
    case Dest::Pict:
        if (m_mode == Mode::TextOnly && m_pictHasData) {
            break; // only whether there is data matters here
        }
        for (const char* p = begin; p < end; ++p) {
            const int v = hexValue(*p);
            if (v < 0) {
                continue;
            }
            if (m_nibble < 0) {
                m_nibble = v;
                continue;
            }
            if (m_mode == Mode::Full) {
                m_pict.data.push_back(static_cast<uint8_t>(m_nibble * 16 + v));
            }
            m_pictHasData = true;
            m_nibble = -1;
        }
        break;
    default:
        break;
    }
}

void RtfParser::controlWord(std::string_view name, bool hasParam, int param) {
    flushBytes();
    const Keyword kw = LookupKeyword(name);
    const bool starred = m_starNext;
    m_starNext = false;
    if (starred) {
        switch (kw) {
        case Keyword::Pn:
        case Keyword::ListTable:
        case Keyword::ListOverrideTable:
        case Keyword::ShpPict:
        case Keyword::Ud:
        case Keyword::FldRslt:
        case Keyword::FontTable:
        case Keyword::ColourTable:
        case Keyword::Pict:
            break;
        default:
            // An optional destination this reader does not know.
            skipGroup();
            return;
        }
    }
    if (kw == Keyword::Bin) {
        if (hasParam && param > 0) {
            binary(param);
        }
        return;
    }
    if (m_skipFallback > 0) {
        --m_skipFallback;
        return;
    }
    State& s = m_state;
    // A font table that never closed: body words mean the body has begun.
    if (s.dest == Dest::FontTable && m_fontEntry < 0 &&
        (kw == Keyword::Par || kw == Keyword::Pard || kw == Keyword::Plain)) {
        s.dest = Dest::Normal;
    }
    switch (kw) {
    case Keyword::Unknown:
        break;
    case Keyword::Ansi:
        m_docCodePage = 1252;
        m_cachedFont = -2;
        break;
    case Keyword::Mac:
        m_docCodePage = 10000;
        m_cachedFont = -2;
        break;
    case Keyword::Pc:
    case Keyword::Pca:
        break; // DOS code pages: read as the ANSI code page
    case Keyword::AnsiCpg:
        if (hasParam && CodePage::isSupported(param)) {
            m_docCodePage = param;
            m_cachedFont = -2;
        }
        break;
    case Keyword::Deff:
        m_defaultFont = param;
        m_cachedFont = -2;
        break;
    case Keyword::Uc:
        s.uc = static_cast<uint8_t>(clampInt(param, 0, 255));
        break;
    case Keyword::U: {
        int v = clampInt(param, -32768, 65535);
        if (v < 0) {
            v += 65536;
        }
        const auto unit = static_cast<char16_t>(v);
        if (s.dest == Dest::FontTable) {
            CodePage::appendUtf16(m_fontName, m_fontNameBytes,
                                  m_fontEntryCodePage ? m_fontEntryCodePage : m_docCodePage);
            m_fontNameBytes.clear();
            m_fontName.push_back(unit);
        } else {
            appendUnit(unit);
        }
        m_skipFallback = s.uc;
        break;
    }
    case Keyword::Upr:
        if (s.dest == Dest::Normal) {
            s.dest = Dest::Upr;
        }
        break;
    case Keyword::Ud:
        if (s.dest == Dest::Upr) {
            s.dest = Dest::Normal;
        }
        break;
    case Keyword::FontTable:
        s.dest = Dest::FontTable;
        m_fontEntry = -1;
        m_cachedFont = -2;
        break;
    case Keyword::ColourTable:
        s.dest = Dest::ColourTable;
        m_colours.clear();
        m_red = m_green = m_blue = -1;
        break;
    case Keyword::Pict:
        s.dest = Dest::Pict;
        m_pict = Picture{};
        m_pictKnown = false;
        m_pictHasData = false;
        m_pictScaleX = m_pictScaleY = 100;
        m_nibble = -1;
        break;
    case Keyword::Pn:
        s.dest = Dest::Pn;
        m_pnBullet = m_pnBody = false;
        m_pnStyle = Numbering::None;
        m_pnStart = 1;
        break;
    case Keyword::ListTable:
        s.dest = Dest::ListTable;
        break;
    case Keyword::ListOverrideTable:
        s.dest = Dest::ListOverrideTable;
        break;
    case Keyword::List:
        if (s.dest == Dest::ListTable) {
            m_lists.emplace_back();
        }
        break;
    case Keyword::ListLevel:
        if (s.dest == Dest::ListTable && !m_lists.empty()) {
            m_lists.back().levels.emplace_back();
        }
        break;
    case Keyword::ListOverride:
        if (s.dest == Dest::ListOverrideTable) {
            m_overrideListId = 0;
        }
        break;
    case Keyword::ListId:
        if (s.dest == Dest::ListTable && !m_lists.empty()) {
            m_lists.back().id = param;
            m_listIndex[param] = m_lists.size() - 1;
        } else if (s.dest == Dest::ListOverrideTable) {
            m_overrideListId = param;
        }
        break;
    case Keyword::LevelNfc:
        if (s.dest == Dest::ListTable && !m_lists.empty() && !m_lists.back().levels.empty()) {
            m_lists.back().levels.back().nfc = param;
        }
        break;
    case Keyword::LevelStartAt:
        if (s.dest == Dest::ListTable && !m_lists.empty() && !m_lists.back().levels.empty()) {
            m_lists.back().levels.back().startAt = clampInt(param, 0, 32767);
        }
        break;
    case Keyword::ShpPict:
    case Keyword::FldRslt:
    case Keyword::Field:
        break;
    case Keyword::SkipDestination:
        skipGroup();
        break;
    case Keyword::F:
        if (s.dest == Dest::FontTable) {
            m_fontEntry = param;
            m_fontEntryDepth = m_stack.size();
            m_fontEntryCodePage = 0;
            m_fontNameBytes.clear();
            m_fontName.clear();
        } else if (s.dest == Dest::Normal) {
            s.font = param;
        }
        break;
    case Keyword::FontFamily:
        // Family words belong to font entries; met in the body, they mean an
        // entry that ended up outside its table.
        if (s.dest == Dest::Normal) {
            s.dest = Dest::FontTable;
            m_fontEntry = s.font;
            m_fontEntryDepth = m_stack.size();
            m_fontEntryCodePage = 0;
            m_fontNameBytes.clear();
            m_fontName.clear();
        }
        break;
    case Keyword::FCharset:
        if (s.dest == Dest::FontTable) {
            m_fontEntryCodePage = codePageOfCharset(param);
        }
        break;
    case Keyword::Cpg:
        if (s.dest == Dest::FontTable && CodePage::isSupported(param)) {
            m_fontEntryCodePage = param;
        }
        break;
    case Keyword::Red:
        m_red = clampInt(param, 0, 255);
        break;
    case Keyword::Green:
        m_green = clampInt(param, 0, 255);
        break;
    case Keyword::Blue:
        m_blue = clampInt(param, 0, 255);
        break;
    case Keyword::Plain:
        s.font = -1;
        s.sizeTwips = 200;
        s.bold = s.italic = s.underline = s.strikeout = s.hidden = false;
        s.textColour = s.backColour = kAutoColour;
        break;
    case Keyword::B:
        s.bold = !hasParam || param != 0;
        break;
    case Keyword::I:
        s.italic = !hasParam || param != 0;
        break;
    case Keyword::Ul:
        s.underline = !hasParam || param != 0;
        break;
    case Keyword::UlNone:
        s.underline = false;
        break;
    case Keyword::Strike:
        s.strikeout = !hasParam || param != 0;
        break;
    case Keyword::StrikeD:
        s.strikeout = !hasParam || param != 0;
        break;
    case Keyword::Hidden:
        s.hidden = !hasParam || param != 0;
        break;
    case Keyword::Fs:
        if (hasParam && param > 0) {
            s.sizeTwips = clampInt(param, 1, 3276) * 10;
        }
        break;
    case Keyword::Cf:
        s.textColour =
            param >= 0 && static_cast<size_t>(param) < m_colours.size() ? m_colours[param] : kAutoColour;
        break;
    case Keyword::Cb:
    case Keyword::ChCbPat:
        s.backColour =
            param >= 0 && static_cast<size_t>(param) < m_colours.size() ? m_colours[param] : kAutoColour;
        break;
    case Keyword::Highlight:
        // \highlight0 is "no highlight" whatever colour entry 0 holds.
        s.backColour =
            param > 0 && static_cast<size_t>(param) < m_colours.size() ? m_colours[param] : kAutoColour;
        break;
    case Keyword::Pard:
        s.para = ParaProps{};
        break;
    case Keyword::Ql:
        s.para.alignment = Alignment::Left;
        break;
    case Keyword::Qc:
        s.para.alignment = Alignment::Center;
        break;
    case Keyword::Qr:
        s.para.alignment = Alignment::Right;
        break;
    case Keyword::Qj:
    case Keyword::Qd:
        s.para.alignment = Alignment::Justify;
        break;
    case Keyword::Li:
        s.para.leftIndent = clampInt(param, -kMaxIndent, kMaxIndent);
        break;
    case Keyword::Ri:
        s.para.rightIndent = clampInt(param, -kMaxIndent, kMaxIndent);
        break;
    case Keyword::Fi:
        s.para.firstIndent = clampInt(param, -kMaxIndent, kMaxIndent);
        break;
    case Keyword::Ls:
        if (s.dest == Dest::ListOverrideTable) {
            m_overrides[param] = m_overrideListId;
        } else if (s.dest == Dest::Normal) {
            s.para.ls = param;
        }
        break;
    case Keyword::Ilvl:
        s.para.ilvl = clampInt(param, 0, 8);
        break;
    case Keyword::PnLvlBlt:
        m_pnBullet = true;
        break;
    case Keyword::PnLvlBody:
    case Keyword::PnLvl:
        m_pnBody = true;
        break;
    case Keyword::PnLvlCont:
        break;
    case Keyword::PnDec:
    case Keyword::PnOrd:
        m_pnStyle = Numbering::Arabic;
        break;
    case Keyword::PnLcLtr:
        m_pnStyle = Numbering::LowerLetter;
        break;
    case Keyword::PnUcLtr:
        m_pnStyle = Numbering::UpperLetter;
        break;
    case Keyword::PnLcRm:
        m_pnStyle = Numbering::LowerRoman;
        break;
    case Keyword::PnUcRm:
        m_pnStyle = Numbering::UpperRoman;
        break;
    case Keyword::PnStart:
        m_pnStart = clampInt(param, 0, 32767);
        break;
    case Keyword::PngBlip:
        m_pict.kind = Picture::Kind::Png;
        m_pictKnown = true;
        break;
    case Keyword::JpegBlip:
        m_pict.kind = Picture::Kind::Jpeg;
        m_pictKnown = true;
        break;
    case Keyword::PicWGoal:
        m_pict.widthTwips = clampInt(param, 0, kMaxPictureTwips);
        break;
    case Keyword::PicHGoal:
        m_pict.heightTwips = clampInt(param, 0, kMaxPictureTwips);
        break;
    case Keyword::PicScaleX:
        m_pictScaleX = clampInt(param, 1, 10000);
        break;
    case Keyword::PicScaleY:
        m_pictScaleY = clampInt(param, 1, 10000);
        break;
    case Keyword::Bin:
        break;
    case Keyword::Par:
    case Keyword::Page:
    case Keyword::Sect:
    case Keyword::Row:
        if (s.dest == Dest::Normal) {
            endParagraph();
        }
        break;
    case Keyword::Line:
        appendUnit(u'\v');
        break;
    case Keyword::Tab:
    case Keyword::Cell:
        appendUnit(u'\t');
        break;
    case Keyword::EmDash:
        appendUnit(u'\u2014');
        break;
    case Keyword::EnDash:
        appendUnit(u'\u2013');
        break;
    case Keyword::EmSpace:
        appendUnit(u'\u2003');
        break;
    case Keyword::EnSpace:
        appendUnit(u'\u2002');
        break;
    case Keyword::QmSpace:
        appendUnit(u'\u2005');
        break;
    case Keyword::Bullet:
        appendUnit(u'\u2022');
        break;
    case Keyword::LQuote:
        appendUnit(u'\u2018');
        break;
    case Keyword::RQuote:
        appendUnit(u'\u2019');
        break;
    case Keyword::LDblQuote:
        appendUnit(u'\u201C');
        break;
    case Keyword::RDblQuote:
        appendUnit(u'\u201D');
        break;
    case Keyword::Zwj:
        appendUnit(u'\u200D');
        break;
    case Keyword::Zwnj:
        appendUnit(u'\u200C');
        break;
    case Keyword::LtrMark:
        appendUnit(u'\u200E');
        break;
    case Keyword::RtlMark:
        appendUnit(u'\u200F');
        break;
    }
}

int RtfParser::codePageOf(const State& state) {
    const int font = state.font < 0 ? m_defaultFont : state.font;
    if (font != m_cachedFont) {
        m_cachedFont = font;
        const auto it = m_fonts.find(font);
        m_cachedCodePage = it != m_fonts.end() && it->second.codePage ? it->second.codePage : m_docCodePage;
    }
    return m_cachedCodePage;
}

CharFormat RtfParser::formatOf(const State& s) {
    CharFormat f;
    const int font = s.font < 0 ? m_defaultFont : s.font;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && !it->second.face.empty()) {
        f.face = it->second.face;
    }
    f.sizeTwips = s.sizeTwips;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strikeout = s.strikeout;
    f.textColour = s.textColour;
    f.backColour = s.backColour;
    return f;
}

std::u16string& RtfParser::target() {
    if (m_mode == Mode::TextOnly) {
        if (!m_separatorDone) {
            if (m_closedParagraphs > 0) {
                m_text += u"\r\n";
            }
            m_separatorDone = true;
        }
        return m_text;
    }
    const CharKey key = keyOf(m_state);
    if (!m_runOpen || key != m_runKey) {
        CharFormat format = formatOf(m_state);
        // Different words can give one format (an undeclared font is the
        // default face): that is still one run.
        if (!m_runOpen || format != m_para.runs.back().format) {
            Run run;
            run.format = std::move(format);
            m_para.runs.push_back(std::move(run));
        }
        m_runKey = key;
        m_runOpen = true;
    }
    return m_para.runs.back().text;
}

void RtfParser::emit(std::u16string_view text) {
    target().append(text);
    m_paraHasContent = true;
}

void RtfParser::resolvePendingHigh() {
    if (m_pendingHigh) {
        m_pendingHigh = 0;
        emit(std::u16string_view(&CodePage::kReplacement, 1));
    }
}

void RtfParser::flushBytes() {
    if (m_bytes.empty()) {
        return;
    }
    resolvePendingHigh();
    CodePage::appendUtf16(target(), m_bytes, m_bytesCodePage);
    m_paraHasContent = true;
    m_bytes.clear();
}

void RtfParser::appendUnit(char16_t unit) {
    if (!takesText()) {
        return;
    }
    flushBytes();
    if (isHigh(unit)) {
        resolvePendingHigh();
        m_pendingHigh = unit;
        return;
    }
    if (isLow(unit)) {
        if (m_pendingHigh) {
            const char16_t pair[2] = {m_pendingHigh, unit};
            m_pendingHigh = 0;
            emit(std::u16string_view(pair, 2));
        } else {
            emit(std::u16string_view(&CodePage::kReplacement, 1));
        }
        return;
    }
    resolvePendingHigh();
    emit(std::u16string_view(&unit, 1));
}

void RtfParser::endParagraph() {
    flushBytes();
    resolvePendingHigh();
    if (m_mode == Mode::Full) {
        const ParaProps& p = m_state.para;
        m_para.alignment = p.alignment;
        m_para.leftIndentTwips = p.leftIndent;
        m_para.rightIndentTwips = p.rightIndent;
        m_para.firstIndentTwips = p.firstIndent;
        m_para.numbering = p.numbering;
        m_para.numberingStart = p.numberingStart;
        if (!p.hasPn && p.ls > 0) {
            m_para.numbering = numberingFromList(p.ls, p.ilvl, &m_para.numberingStart);
        }
        // A start without numbering means nothing and is not written back.
        if (m_para.numbering == Numbering::None) {
            m_para.numberingStart = 1;
        }
        m_doc.paragraphs.push_back(std::move(m_para));
        m_para = Paragraph{};
        m_runOpen = false;
    } else {
        target(); // writes the separator of an empty paragraph
        m_separatorDone = false;
    }
    ++m_closedParagraphs;
    m_paraHasContent = false;
}

void RtfParser::finishDocument() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    flushBytes();
    resolvePendingHigh();
    // The text after the last paragraph mark is a paragraph only when it has
    // content (or when there is nothing else).
    if (m_paraHasContent || m_closedParagraphs == 0) {
        if (m_mode == Mode::Full) {
            endParagraph();
        }
    }
}

Numbering RtfParser::numberingFromList(int ls, int ilvl, int* start) const {
    const auto ov = m_overrides.find(ls);
    if (ov == m_overrides.end()) {
        return Numbering::None;
    }
    const auto index = m_listIndex.find(ov->second);
    if (index == m_listIndex.end()) {
        return Numbering::None;
    }
    const ListInfo& list = m_lists[index->second];
    if (static_cast<size_t>(ilvl) >= list.levels.size()) {
        return Numbering::None;
    }
    *start = list.levels[ilvl].startAt;
    return numberingOfNfc(list.levels[ilvl].nfc);
}

void RtfParser::fontNameByte(uint8_t byte) {
    if (byte == ';') {
        commitFontName();
        return;
    }
    if (m_fontEntry >= 0 && m_fontNameBytes.size() + m_fontName.size() < 256) {
        m_fontNameBytes.push_back(static_cast<char>(byte));
    }
}

void RtfParser::commitFontName() {
    if (m_fontEntry < 0) {
        m_fontNameBytes.clear();
        m_fontName.clear();
        return;
    }
    CodePage::appendUtf16(m_fontName, m_fontNameBytes,
                          m_fontEntryCodePage ? m_fontEntryCodePage : m_docCodePage);
    const size_t first = m_fontName.find_first_not_of(u' ');
    const size_t last = m_fontName.find_last_not_of(u' ');
    Font& font = m_fonts[m_fontEntry];
    font.face = first == std::u16string::npos ? std::u16string() : m_fontName.substr(first, last - first + 1);
    font.codePage = m_fontEntryCodePage;
    m_cachedFont = -2;
    m_fontNameBytes.clear();
    m_fontName.clear();
    m_fontEntry = -1;
}

void RtfParser::colourTableByte(uint8_t byte) {
    if (byte != ';') {
        return;
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

void RtfParser::finishPn() {
    Numbering n = Numbering::None;
    if (m_pnBullet) {
        n = Numbering::Bullet;
    } else if (m_pnStyle != Numbering::None) {
        n = m_pnStyle;
    } else if (m_pnBody) {
        n = Numbering::Arabic;
    }
    m_state.para.numbering = n;
    m_state.para.numberingStart = m_pnStart;
    m_state.para.hasPn = true;
}

void RtfParser::finishPicture(const State& pictState) {
    if (!m_pictKnown || !m_pictHasData || m_state.dest != Dest::Normal || pictState.hidden) {
        return;
    }
    flushBytes();
    resolvePendingHigh();
    if (m_mode == Mode::Full) {
        Run run;
        run.isPicture = true;
        run.format = formatOf(pictState);
        run.picture = std::move(m_pict);
        run.picture.widthTwips = static_cast<int>(
            std::min<long long>(1LL * run.picture.widthTwips * m_pictScaleX / 100, kMaxPictureTwips));
        run.picture.heightTwips = static_cast<int>(
            std::min<long long>(1LL * run.picture.heightTwips * m_pictScaleY / 100, kMaxPictureTwips));
        m_para.runs.push_back(std::move(run));
        m_runOpen = false;
    } else {
        target();
    }
    m_pict = Picture{};
    m_paraHasContent = true;
}

Document RtfParser::takeDocument() {
    return std::move(m_doc);
}

std::u16string RtfParser::takeText() {
    return std::move(m_text);
}

} // namespace rtf
