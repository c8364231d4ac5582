#include "cli/TerminalText.h"

void TerminalText::passOn() {
    if (m_buffer.empty())
        return;
    m_last = m_buffer.back();
    m_sink(m_buffer);
    m_buffer.clear();
}

void TerminalText::add(std::u16string_view piece) {
    if (piece.empty())
        return;
    m_buffer.reserve(piece.size() + 1);
    if (m_pendingReturn && piece.front() != u'\n')
        m_buffer += u'\r';
    m_pendingReturn = false;
    for (size_t i = 0; i < piece.size(); ++i) {
        const char16_t c = piece[i];
        if (c == u'\r') {
            if (i + 1 == piece.size()) {
                m_pendingReturn = true; // its "\n" may open the next piece
                break;
            }
            if (piece[i + 1] == u'\n')
                continue;
        }
        m_buffer += c == u'\v' && m_fromRtf ? u'\n' : c;
    }
    passOn();
}

void TerminalText::finish() {
    if (m_pendingReturn)
        m_buffer += u'\r';
    m_pendingReturn = false;
    passOn();
}
