#pragma once
// Helpers shared by the RTF tests: corpus files, UTF-8 text and a compact
// description of a document for readable failure messages.

#include "core/CodePage.h"
#include "editor/rtf/RichText.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace rtftest {

inline std::filesystem::path corpusDir() {
    return std::filesystem::path(SEALBOOK_CORPUS_DIR) / "rtf";
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::string corpusFile(const std::string& name) {
    return readFile(corpusDir() / name);
}

inline std::u16string fromUtf8(const std::string& s) {
    return CodePage::toUtf16(s, 65001);
}
inline std::string toUtf8(const std::u16string& s) {
    return CodePage::fromUtf16(s, 65001);
}

// The text of a document with every white-space character removed, so that
// texts from programs with other line and space conventions can be compared.
inline std::u16string withoutSpace(const std::u16string& s) {
    std::u16string out;
    for (char16_t c : s) {
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'\v' && c != u'\f') {
            out += c;
        }
    }
    return out;
}

// The document as text, one line per paragraph, for failure messages.
inline std::string describe(const rtf::Document& doc) {
    std::ostringstream os;
    for (const rtf::Paragraph& p : doc.paragraphs) {
        os << "[align " << static_cast<int>(p.alignment) << " num " << static_cast<int>(p.numbering) << "@"
           << p.numberingStart << " li " << p.leftIndentTwips << " ri " << p.rightIndentTwips << " fi "
           << p.firstIndentTwips << "]";
        for (const rtf::Run& r : p.runs) {
            if (r.isPicture) {
                os << " <picture " << r.picture.data.size() << " bytes>";
                continue;
            }
            const rtf::CharFormat& f = r.format;
            os << " (" << toUtf8(f.face) << " " << f.sizeTwips << (f.bold ? " b" : "")
               << (f.italic ? " i" : "") << (f.underline ? " u" : "") << (f.strikeout ? " s" : "") << " cf "
               << std::hex << f.textColour << " bg " << f.backColour << std::dec << ") \"" << toUtf8(r.text)
               << "\"";
        }
        os << "\n";
    }
    return os.str();
}

} // namespace rtftest
