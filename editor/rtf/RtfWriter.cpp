#include "editor/rtf/RtfWriter.h"

#include "core/CodePage.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace rtf {
namespace {

class Writer {
public:
    explicit Writer(const Document& doc) : m_doc(doc) {}

    std::string write() {
        collectTables();
        m_out.reserve(estimateSize());
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
        for (size_t i = 0; i < m_faces.size(); ++i) {
            m_out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
            text(m_faces[i], true);
            m_out += ";}";
        }
        if (m_symbolFont >= 0) {
            m_out += "{\\f" + std::to_string(m_symbolFont) + "\\fnil\\fcharset2 Symbol;}";
        }
        m_out += "}\r\n{\\colortbl ;";
        for (Colour c : m_colours) {
            m_out += "\\red" + std::to_string(red(c)) + "\\green" + std::to_string(green(c)) + "\\blue" +
                     std::to_string(blue(c)) + ";";
        }
        m_out += "}\r\n\\viewkind4\\uc1 ";
        Numbering previousKind = Numbering::None;
        int previousStart = 1;
        int number = 0;
        for (const Paragraph& para : m_doc.paragraphs) {
            // Items of one list count on; a new kind or start begins a new list.
            if (para.numbering != Numbering::None) {
                if (para.numbering == previousKind && para.numberingStart == previousStart) {
                    ++number;
                } else {
                    number = para.numberingStart;
                }
            }
            previousKind = para.numbering;
            previousStart = para.numberingStart;
            paragraph(para, number);
        }
        m_out += "}\r\n";
        return std::move(m_out);
    }

private:
    size_t estimateSize() const {
        size_t n = 256;
        for (const Paragraph& p : m_doc.paragraphs) {
            n += 64;
            for (const Run& r : p.runs) {
                n += r.text.size() * 2 + r.picture.data.size() * 2 + 48;
            }
        }
        return n;
    }

    void collectTables() {
        for (const Paragraph& p : m_doc.paragraphs) {
            if (p.numbering == Numbering::Bullet) {
                m_symbolFont = 0;
            }
            for (const Run& r : p.runs) {
                faceIndex(r.format.face);
                colourIndex(r.format.textColour);
                colourIndex(r.format.backColour);
            }
        }
        if (m_faces.empty()) {
            m_faces.push_back(CharFormat{}.face);
        }
        if (m_symbolFont >= 0) {
            m_symbolFont = static_cast<int>(m_faces.size());
        }
    }

    int faceIndex(const std::u16string& face) {
        const auto [it, added] = m_faceIndex.emplace(face, static_cast<int>(m_faces.size()));
        if (added) {
            m_faces.push_back(face);
        }
        return it->second;
    }

    // Entry 0 of the colour table is "automatic"; real colours start at 1.
    int colourIndex(Colour c) {
        if (c == kAutoColour) {
            return 0;
        }
        c &= 0xFFFFFF;
        const auto [it, added] = m_colourIndex.emplace(c, static_cast<int>(m_colours.size()) + 1);
        if (added) {
            m_colours.push_back(c);
        }
        return it->second;
    }

    void word(const char* name) { m_out += name; }
    void word(const char* name, int value) {
        m_out += name;
        m_out += std::to_string(value);
    }

    void paragraph(const Paragraph& p, int number) {
        m_out += "\\pard";
        if (p.numbering != Numbering::None) {
            numbering(p, number);
        }
        switch (p.alignment) {
        case Alignment::Left:
            break;
        case Alignment::Center:
            word("\\qc");
            break;
        case Alignment::Right:
            word("\\qr");
            break;
        case Alignment::Justify:
            word("\\qj");
            break;
        }
        if (p.firstIndentTwips) {
            word("\\fi", p.firstIndentTwips);
        }
        if (p.leftIndentTwips) {
            word("\\li", p.leftIndentTwips);
        }
        if (p.rightIndentTwips) {
            word("\\ri", p.rightIndentTwips);
        }
        // A control word needs its delimiting space; a closing brace does not,
        // and a space there would be text.
        if (m_out.back() != '}') {
            m_out += ' ';
        }
        for (const Run& r : p.runs) {
            format(r.format);
            if (r.isPicture) {
                picture(r.picture);
            } else {
                text(r.text, false);
            }
        }
        m_out += "\\par\r\n";
    }

    // The \pn form: the item's own text first, as {\pntext ...\tab}, then the
    // numbering description that applies to the paragraph.
    void numbering(const Paragraph& p, int number) {
        const std::string font = std::to_string(m_symbolFont >= 0 ? m_symbolFont : 0);
        if (p.numbering == Numbering::Bullet) {
            m_out += "{\\pntext\\f" + font + "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf" + font + "\\pnindent0";
            if (p.numberingStart != 1) {
                word("\\pnstart", p.numberingStart);
            }
            m_out += "{\\pntxtb\\'B7}}";
            return;
        }
        const char* style = "\\pndec";
        switch (p.numbering) {
        case Numbering::LowerLetter:
            style = "\\pnlcltr";
            break;
        case Numbering::UpperLetter:
            style = "\\pnucltr";
            break;
        case Numbering::LowerRoman:
            style = "\\pnlcrm";
            break;
        case Numbering::UpperRoman:
            style = "\\pnucrm";
            break;
        default:
            break;
        }
        m_out += "{\\pntext\\f0 " + itemLabel(p.numbering, number) +
                 ".\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart" + std::to_string(p.numberingStart) +
                 style + "{\\pntxta.}}";
    }

    static std::string itemLabel(Numbering kind, int n) {
        switch (kind) {
        case Numbering::LowerLetter:
        case Numbering::UpperLetter: {
            if (n < 1) {
                return std::to_string(n);
            }
            const char base = kind == Numbering::LowerLetter ? 'a' : 'A';
            // a..z, then aa..zz, and so on.
            return std::string(static_cast<size_t>((n - 1) / 26 + 1), static_cast<char>(base + (n - 1) % 26));
        }
        case Numbering::LowerRoman:
        case Numbering::UpperRoman: {
            if (n < 1 || n > 3999) {
                return std::to_string(n);
            }
            static const struct {
                int value;
                const char* digits;
            } kRoman[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                          {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                          {5, "v"},    {4, "iv"},   {1, "i"}};
            std::string s;
            for (const auto& r : kRoman) {
                for (; n >= r.value; n -= r.value) {
                    s += r.digits;
                }
            }
            if (kind == Numbering::UpperRoman) {
                std::transform(s.begin(), s.end(), s.begin(),
                               [](char c) { return static_cast<char>(c - 'a' + 'A'); });
            }
            return s;
        }
        default:
            return std::to_string(n);
        }
    }

    // Writes only what differs from the format in force; the first run of the
    // document states everything.
    void format(const CharFormat& f) {
        const bool all = !m_haveFormat;
        const CharFormat& c = m_current;
        const size_t before = m_out.size();
        if (all || f.face != c.face) {
            word("\\f", faceIndex(f.face));
        }
        if (all || f.sizeTwips != c.sizeTwips) {
            word("\\fs", std::clamp((f.sizeTwips + 5) / 10, 1, 3276));
        }
        if (all || f.bold != c.bold) {
            word(f.bold ? "\\b" : "\\b0");
        }
        if (all || f.italic != c.italic) {
            word(f.italic ? "\\i" : "\\i0");
        }
        if (all || f.underline != c.underline) {
            word(f.underline ? "\\ul" : "\\ulnone");
        }
        if (all || f.strikeout != c.strikeout) {
            word(f.strikeout ? "\\strike" : "\\strike0");
        }
        if (all || f.textColour != c.textColour) {
            word("\\cf", colourIndex(f.textColour));
        }
        if (all || f.backColour != c.backColour) {
            word("\\highlight", colourIndex(f.backColour));
        }
        if (m_out.size() != before) {
            m_out += ' ';
        }
        m_current = f;
        m_haveFormat = true;
    }

    void text(const std::u16string& s, bool fontName) {
        char buf[16];
        for (size_t i = 0; i < s.size(); ++i) {
            const char16_t ch = s[i];
            switch (ch) {
            case u'\\':
                m_out += "\\\\";
                continue;
            case u'{':
                m_out += "\\{";
                continue;
            case u'}':
                m_out += "\\}";
                continue;
            case u'\t':
                if (!fontName) {
                    m_out += "\\tab ";
                    continue;
                }
                break;
            case u'\v':
                if (!fontName) {
                    m_out += "\\line ";
                    continue;
                }
                break;
            case u';':
                if (fontName) {
                    // A ';' would end the font's name; \u keeps it part of the name.
                    m_out += "\\u59?";
                    continue;
                }
                break;
            default:
                break;
            }
            if (ch >= 0x20 && ch < 0x7F) {
                m_out += static_cast<char>(ch);
                continue;
            }
            const int b = CodePage::toCp1252(ch);
            if (b >= 0) {
                std::snprintf(buf, sizeof buf, "\\'%02x", b);
            } else {
                // Signed 16-bit, as RTF readers expect; each half of a
                // surrogate pair is written as its own \u.
                std::snprintf(buf, sizeof buf, "\\u%d?", static_cast<int>(static_cast<int16_t>(ch)));
            }
            m_out += buf;
        }
    }

    void picture(const Picture& p) {
        m_out += p.kind == Picture::Kind::Png ? "{\\pict\\pngblip" : "{\\pict\\jpegblip";
        if (p.widthTwips > 0) {
            word("\\picwgoal", p.widthTwips);
        }
        if (p.heightTwips > 0) {
            word("\\pichgoal", p.heightTwips);
        }
        m_out += "\r\n";
        static const char kHex[] = "0123456789abcdef";
        for (size_t i = 0; i < p.data.size(); ++i) {
            m_out += kHex[p.data[i] >> 4];
            m_out += kHex[p.data[i] & 15];
            if (i % 64 == 63) {
                m_out += "\r\n";
            }
        }
        m_out += '}';
    }

    const Document& m_doc;
    std::string m_out;
    std::vector<std::u16string> m_faces;
    std::vector<Colour> m_colours;
    // Lookups for the two tables: a document may use many faces and colours.
    std::map<std::u16string, int> m_faceIndex;
    std::unordered_map<Colour, int> m_colourIndex;
    int m_symbolFont = -1;
    CharFormat m_current;
    bool m_haveFormat = false;
};

} // namespace

std::string WriteRtf(const Document& doc) {
    return Writer(doc).write();
}

} // namespace rtf
