#include "editor/rtf/PlainText.h"

#include "core/CodePage.h"
#include "editor/rtf/RtfParser.h"
#include "editor/rtf/RtfTexts.h"

#include <algorithm>
#include <array>

namespace rtf {

bool IsRtfBody(const std::u16string& body) {
    constexpr size_t kPrefix = RtfTexts::markerWindow;
    std::array<char16_t, kPrefix> head{};
    const size_t n = std::min(body.size(), kPrefix);
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = body[i];
        head[i] = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
    const std::u16string_view prefix(head.data(), n);
    for (std::u16string_view marker : RtfTexts::rtfMarkers) {
        if (prefix.find(marker) != std::u16string_view::npos) {
            return true;
        }
    }
    return false;
}

std::string BodyToRtfBytes(const std::u16string& body) {
    return CodePage::fromUtf16(body, CodePage::kAnsi);
}

std::u16string BodyToPlainText(const std::u16string& body) {
    if (!IsRtfBody(body)) {
        return body;
    }
    const std::string bytes = BodyToRtfBytes(body);
    RtfParser parser(RtfParser::Mode::TextOnly);
    parser.parse(bytes);
    return parser.takeText();
}

void RtfBytesToPlainText(std::string_view rtf, const std::function<void(std::u16string_view)>& piece) {
    RtfParser parser(RtfParser::Mode::TextOnly);
    parser.setTextSink(piece);
    parser.parse(rtf);
    const std::u16string rest = parser.takeText();
    if (!rest.empty()) {
        piece(rest);
    }
}

std::u16string DocumentPlainText(const Document& doc) {
    std::u16string text;
    for (size_t i = 0; i < doc.paragraphs.size(); ++i) {
        if (i > 0) {
            text += RtfTexts::paragraphBreak;
        }
        for (const Run& run : doc.paragraphs[i].runs) {
            if (!run.isPicture) {
                text += run.text;
            }
        }
    }
    return text;
}

} // namespace rtf
