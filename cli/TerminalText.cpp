#include "cli/TerminalText.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    m_buffer.resize(piece.size() + 1);
    char16_t* out = m_buffer.data();
    if (m_pendingReturn && piece.front() != u'\n')
        *out++ = u'\r';
    m_pendingReturn = false;
    const char16_t softBreak = m_fromRtf ? u'\v' : u'\n';
    for (size_t i = 0; i < piece.size(); ++i) {
#if defined(__SSE2__)
        // Eight units with neither "\r" nor a soft break go as they are.
        const __m128i returns = _mm_set1_epi16(u'\r');
        const __m128i breaks = _mm_set1_epi16(static_cast<short>(softBreak));
        while (piece.size() - i >= 8) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(piece.data() + i));
            const __m128i special =
                _mm_or_si128(_mm_cmpeq_epi16(units, returns), _mm_cmpeq_epi16(units, breaks));
            if (_mm_movemask_epi8(special) != 0)
                break;
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), units);
            out += 8;
            i += 8;
        }
        if (i == piece.size())
            break;
#endif
        const char16_t c = piece[i];
        if (c == u'\r') {
            if (i + 1 == piece.size()) {
                m_pendingReturn = true; // its "\n" may open the next piece
                break;
            }
            if (piece[i + 1] == u'\n')
                continue;
        }
        *out++ = c == softBreak ? u'\n' : c;
    }
    m_buffer.resize(static_cast<size_t>(out - m_buffer.data()));
    passOn();
}

void TerminalText::finish() {
    if (m_pendingReturn)
        m_buffer += u'\r';
    m_pendingReturn = false;
    passOn();
}
