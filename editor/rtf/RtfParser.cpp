#include "editor/rtf/RtfParser.h"

#include "core/CodePage.h"
#include "editor/rtf/RtfTexts.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The first byte at or after `p` that ends a stretch of plain text.
const char* endOfText(const char* p, const char* end) {
#if defined(__SSE2__)
    // Sixteen bytes at a time: most text runs are tens of bytes long.
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, open), _mm_cmpeq_epi8(b, close)),
                                      _mm_or_si128(_mm_cmpeq_epi8(b, backslash), _mm_cmpeq_epi8(b, cr))),
                         _mm_or_si128(_mm_cmpeq_epi8(b, lf), _mm_cmpeq_epi8(b, nul)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
        p += 16;
    }
#endif
    while (p < end && !kSpecial[static_cast<uint8_t>(*p)]) {
        ++p;
    }
    return p;
}

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
            m_pos = endOfText(m_pos, m_end);
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
        m_tables.fontGroupClosed(m_stack.size());
        break;
    case Dest::ColourTable:
        if (m_state.dest != Dest::ColourTable) {
            m_tables.colourTableClosed();
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
        const int cp = m_tables.codePageOf(m_state.chars.font);
        if (!m_bytes.empty() && cp != m_bytesCodePage) {
            flushBytes();
        }
        if (cp == CodePage::kAnsi) {
            // A table per byte: no need to gather the bytes first.
            m_out.bytes(m_state.chars, std::string_view(begin, end - begin), cp);
            break;
        }
        // Other code pages go through iconv, and double-byte characters may
        // arrive as two \'hh: gather them and convert once.
        m_bytesCodePage = cp;
        m_bytes.append(begin, end);
        break;
    }
    case Dest::FontTable:
        m_tables.fontNameBytes(begin, end);
        break;
    case Dest::ColourTable:
        m_tables.colourTableBytes(begin, end);
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
    // A font table that never closed: body words mean the body has begun.
    if (m_state.dest == Dest::FontTable && !m_tables.inFontEntry() &&
        (kw == Keyword::Par || kw == Keyword::Pard || kw == Keyword::Plain)) {
        m_state.dest = Dest::Normal;
    }
    if (!destinationWord(kw, hasParam, param)) {
        formatWord(kw, hasParam, param);
    }
}

bool RtfParser::destinationWord(Keyword kw, bool hasParam, int param) {
    State& s = m_state;
    switch (kw) {
    case Keyword::Ansi:
        m_tables.setDocumentCodePage(1252);
        break;
    case Keyword::Mac:
        m_tables.setDocumentCodePage(10000);
        break;
    case Keyword::Pc:
    case Keyword::Pca:
        break; // DOS code pages: read as the ANSI code page
    case Keyword::AnsiCpg:
        if (hasParam) {
            m_tables.setDocumentCodePage(param);
        }
        break;
    case Keyword::Deff:
        m_tables.setDefaultFont(param);
        break;
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
        m_tables.beginFontTable();
        break;
    case Keyword::F:
        if (s.dest == Dest::FontTable) {
            m_tables.beginFontEntry(param, m_stack.size());
        } else if (s.dest == Dest::Normal) {
            s.chars.font = param;
        }
        break;
    case Keyword::FontFamily:
        // Family words belong to font entries; met in the body, they mean an
        // entry that ended up outside its table.
        if (s.dest == Dest::Normal) {
            s.dest = Dest::FontTable;
            m_tables.beginFontEntry(s.chars.font, m_stack.size());
        }
        break;
    case Keyword::FCharset:
        if (s.dest == Dest::FontTable) {
            m_tables.setFontCharset(param);
        }
        break;
    case Keyword::Cpg:
        if (s.dest == Dest::FontTable) {
            m_tables.setFontCodePage(param);
        }
        break;
    case Keyword::ColourTable:
        s.dest = Dest::ColourTable;
        m_tables.beginColourTable();
        break;
    case Keyword::Red:
        m_tables.setRed(clampInt(param, 0, 255));
        break;
    case Keyword::Green:
        m_tables.setGreen(clampInt(param, 0, 255));
        break;
    case Keyword::Blue:
        m_tables.setBlue(clampInt(param, 0, 255));
        break;
    case Keyword::ListTable:
        s.dest = Dest::ListTable;
        break;
    case Keyword::ListOverrideTable:
        s.dest = Dest::ListOverrideTable;
        break;
    case Keyword::List:
        if (s.dest == Dest::ListTable) {
            m_tables.beginList();
        }
        break;
    case Keyword::ListLevel:
        if (s.dest == Dest::ListTable) {
            m_tables.beginListLevel();
        }
        break;
    case Keyword::ListOverride:
        if (s.dest == Dest::ListOverrideTable) {
            m_tables.beginOverride();
        }
        break;
    case Keyword::ListId:
        if (s.dest == Dest::ListTable) {
            m_tables.setListId(param);
        } else if (s.dest == Dest::ListOverrideTable) {
            m_tables.setOverrideListId(param);
        }
        break;
    case Keyword::LevelNfc:
        if (s.dest == Dest::ListTable) {
            m_tables.setLevelNumberFormat(param);
        }
        break;
    case Keyword::LevelStartAt:
        if (s.dest == Dest::ListTable) {
            m_tables.setLevelStart(clampInt(param, 0, 32767));
        }
        break;
    case Keyword::Ls:
        if (s.dest == Dest::ListOverrideTable) {
            m_tables.setOverrideNumber(param);
        } else if (s.dest == Dest::Normal) {
            s.para.ls = param;
        }
        break;
    case Keyword::Pn:
        s.dest = Dest::Pn;
        m_pnBullet = m_pnBody = false;
        m_pnStyle = Numbering::None;
        m_pnStart = 1;
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
    case Keyword::Pict:
        s.dest = Dest::Pict;
        m_pict = Picture{};
        m_pictKnown = false;
        m_pictHasData = false;
        m_pictScaleX = m_pictScaleY = 100;
        m_nibble = -1;
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
    case Keyword::ShpPict:
    case Keyword::FldRslt:
    case Keyword::Field:
        break;
    case Keyword::SkipDestination:
        skipGroup();
        break;
    default:
        return false;
    }
    return true;
}

void RtfParser::formatWord(Keyword kw, bool hasParam, int param) {
    State& s = m_state;
    const bool on = !hasParam || param != 0;
    switch (kw) {
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
            m_tables.fontNameUnit(unit);
        } else {
            appendUnit(unit);
        }
        m_skipFallback = s.uc;
        break;
    }
    case Keyword::Plain:
        s.chars = RtfOutput::CharProps{};
        s.hidden = false;
        break;
    case Keyword::B:
        s.chars.bold = on;
        break;
    case Keyword::I:
        s.chars.italic = on;
        break;
    case Keyword::Ul:
        s.chars.underline = on;
        break;
    case Keyword::UlNone:
        s.chars.underline = false;
        break;
    case Keyword::Strike:
    case Keyword::StrikeD:
        s.chars.strikeout = on;
        break;
    case Keyword::Hidden:
        s.hidden = on;
        break;
    case Keyword::Fs:
        if (hasParam && param > 0) {
            s.chars.sizeTwips = clampInt(param, 1, 3276) * 10;
        }
        break;
    case Keyword::Cf:
        s.chars.textColour = m_tables.colour(param);
        break;
    case Keyword::Cb:
    case Keyword::ChCbPat:
        s.chars.backColour = m_tables.colour(param);
        break;
    case Keyword::Highlight:
        // \highlight0 is "no highlight" whatever colour entry 0 holds.
        s.chars.backColour = param > 0 ? m_tables.colour(param) : kAutoColour;
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
    case Keyword::Ilvl:
        s.para.ilvl = clampInt(param, 0, 8);
        break;
    case Keyword::Par:
    case Keyword::Page:
    case Keyword::Sect:
    case Keyword::Row:
        if (s.dest == Dest::Normal) {
            endParagraph();
        }
        break;
    default:
        // The words that stand for one character.
        if (const char16_t ch = SpecialCharacter(kw)) {
            appendUnit(ch);
        }
        break;
    }
}

void RtfParser::flushBytes() {
    if (m_bytes.empty()) {
        return;
    }
    m_out.bytes(m_state.chars, m_bytes, m_bytesCodePage);
    m_bytes.clear();
}

void RtfParser::appendUnit(char16_t unit) {
    if (!takesText()) {
        return;
    }
    flushBytes();
    m_out.unit(m_state.chars, unit);
}

Paragraph RtfParser::paragraphProps() const {
    const ParaProps& p = m_state.para;
    Paragraph props;
    props.alignment = p.alignment;
    props.leftIndentTwips = p.leftIndent;
    props.rightIndentTwips = p.rightIndent;
    props.firstIndentTwips = p.firstIndent;
    props.numbering = p.numbering;
    props.numberingStart = p.numberingStart;
    if (!p.hasPn && p.ls > 0) {
        props.numbering = m_tables.numberingOf(p.ls, p.ilvl, &props.numberingStart);
    }
    return props;
}

void RtfParser::endParagraph() {
    flushBytes();
    m_out.endParagraph(paragraphProps());
}

void RtfParser::finishDocument() {
    if (m_finished) {
        return;
    }
    m_finished = true;
    flushBytes();
    m_out.finish(paragraphProps());
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
    const bool keep = m_pictKnown && m_pictHasData && m_state.dest == Dest::Normal && !pictState.hidden;
    // One picture is read at a time: a \pict nested in another one ends the
    // outer one's reading, which must not then yield a second, empty picture.
    Picture picture = std::move(m_pict);
    m_pict = Picture{};
    m_pictKnown = m_pictHasData = false;
    m_nibble = -1;
    if (!keep) {
        return;
    }
    flushBytes();
    picture.widthTwips = static_cast<int>(
        std::min<long long>(1LL * picture.widthTwips * m_pictScaleX / 100, kMaxPictureTwips));
    picture.heightTwips = static_cast<int>(
        std::min<long long>(1LL * picture.heightTwips * m_pictScaleY / 100, kMaxPictureTwips));
    m_out.picture(pictState.chars, std::move(picture));
}

Document RtfParser::takeDocument() {
    return m_out.takeDocument();
}

std::u16string RtfParser::takeText() {
    return m_out.takeText();
}

} // namespace rtf
