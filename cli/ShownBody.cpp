#include "cli/ShownBody.h"

#include "cli/TerminalText.h"
#include "core/CodePage.h"
#include "core/LargePages.h"

#if SEALBOOK_CLI_HAVE_RTF
#include "editor/rtf/PlainText.h"
#endif

void ShownBody::start(uint64_t length) {
    m_length = length;
}

void ShownBody::piece(std::u16string_view text) {
    if (!m_started) {
        m_started = true;
#if SEALBOOK_CLI_HAVE_RTF
        // Whether a body is RTF shows in its first characters, all in the first piece.
        m_rtf = rtf::IsRtfBody(std::u16string(text.substr(0, 16)));
#endif
        if (m_rtf)
            LargePages::reserve(m_bytes, static_cast<size_t>(m_length));
        else
            LargePages::reserve(m_text, static_cast<size_t>(m_length));
    }
    if (m_rtf)
        m_bytes += CodePage::fromUtf16(text, CodePage::kAnsi);
    else
        m_text += text;
}

char16_t ShownBody::write(const std::function<void(std::u16string_view)>& out) {
    TerminalText text(m_rtf, out);
#if SEALBOOK_CLI_HAVE_RTF
    if (m_rtf)
        rtf::RtfBytesToPlainText(m_bytes, [&text](std::u16string_view piece) { text.add(piece); });
#endif
    text.add(m_text);
    text.finish();
    std::string().swap(m_bytes);
    std::u16string().swap(m_text);
    return text.last();
}
