#include "editor/rtf/RtfOutput.h"

#include "core/CodePage.h"
#include "editor/rtf/RtfTexts.h"

namespace rtf {
namespace {

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

CharFormat RtfOutput::formatOf(const CharProps& chars) const {
    CharFormat f;
    const std::u16string& face = m_tables.faceOf(chars.font);
    if (!face.empty()) {
        f.face = face;
    }
    f.sizeTwips = chars.sizeTwips;
    f.bold = chars.bold;
    f.italic = chars.italic;
    f.underline = chars.underline;
    f.strikeout = chars.strikeout;
    f.textColour = chars.textColour;
    f.backColour = chars.backColour;
    return f;
}

std::u16string& RtfOutput::target(const CharProps& chars) {
    if (m_textOnly) {
        if (!m_separatorDone) {
            if (m_closedParagraphs > 0) {
                m_text += RtfTexts::paragraphBreak;
            }
            m_separatorDone = true;
        }
        return m_text;
    }
    if (!m_runOpen || chars != m_runChars) {
        CharFormat format = formatOf(chars);
        // Different words can give one format (an undeclared font is the
        // default face): that is still one run.
        if (!m_runOpen || format != m_para.runs.back().format) {
            Run run;
            run.format = std::move(format);
            m_para.runs.push_back(std::move(run));
        }
        m_runChars = chars;
        m_runOpen = true;
    }
    return m_para.runs.back().text;
}

void RtfOutput::passOnText() {
    constexpr size_t kPiece = size_t{64} << 10;
    if (m_sink && m_text.size() >= kPiece) {
        m_sink(m_text);
        m_text.clear();
    }
}

void RtfOutput::emit(const CharProps& chars, std::u16string_view text) {
    target(chars).append(text);
    m_paraHasContent = true;
    passOnText();
}

void RtfOutput::resolvePendingHigh() {
    if (m_pendingHigh) {
        m_pendingHigh = 0;
        emit(m_pendingChars, std::u16string_view(&CodePage::kReplacement, 1));
    }
}

void RtfOutput::bytes(const CharProps& chars, std::string_view bytes, int codePage) {
    if (bytes.empty()) {
        return;
    }
    resolvePendingHigh();
    CodePage::appendUtf16(target(chars), bytes, codePage);
    m_paraHasContent = true;
    passOnText();
}

void RtfOutput::unit(const CharProps& chars, char16_t unit) {
    if (isHigh(unit)) {
        resolvePendingHigh();
        m_pendingHigh = unit;
        m_pendingChars = chars;
        return;
    }
    if (isLow(unit)) {
        if (m_pendingHigh) {
            const char16_t pair[2] = {m_pendingHigh, unit};
            m_pendingHigh = 0;
            emit(chars, std::u16string_view(pair, 2));
        } else {
            emit(chars, std::u16string_view(&CodePage::kReplacement, 1));
        }
        return;
    }
    resolvePendingHigh();
    emit(chars, std::u16string_view(&unit, 1));
}

void RtfOutput::picture(const CharProps& chars, Picture picture) {
    resolvePendingHigh();
    if (m_textOnly) {
        target(chars);
    } else {
        Run run;
        run.isPicture = true;
        run.format = formatOf(chars);
        run.picture = std::move(picture);
        m_para.runs.push_back(std::move(run));
        m_runOpen = false;
    }
    m_paraHasContent = true;
}

void RtfOutput::endParagraph(const Paragraph& props) {
    resolvePendingHigh();
    if (m_textOnly) {
        target(m_runChars); // writes the separator of an empty paragraph
        m_separatorDone = false;
    } else {
        m_para.alignment = props.alignment;
        m_para.numbering = props.numbering;
        // A start without numbering means nothing and is not written back.
        m_para.numberingStart = props.numbering == Numbering::None ? 1 : props.numberingStart;
        m_para.leftIndentTwips = props.leftIndentTwips;
        m_para.rightIndentTwips = props.rightIndentTwips;
        m_para.firstIndentTwips = props.firstIndentTwips;
        m_doc.paragraphs.push_back(std::move(m_para));
        m_para = Paragraph{};
        m_runOpen = false;
    }
    ++m_closedParagraphs;
    m_paraHasContent = false;
}

void RtfOutput::finish(const Paragraph& props) {
    resolvePendingHigh();
    if (!m_textOnly && (m_paraHasContent || m_closedParagraphs == 0)) {
        endParagraph(props);
    }
}

} // namespace rtf
