#pragma once
// A body's plain text as a terminal shows it, made piece by piece so that a
// long body is never held twice: the "\r\n" that ends each stored paragraph
// becomes "\n", and in text taken from RTF a soft line break (held as "\v")
// becomes "\n" as well.

#include <functional>
#include <string>
#include <string_view>

class TerminalText {
public:
    using Sink = std::function<void(std::u16string_view)>;

    TerminalText(bool fromRtf, Sink sink) : m_fromRtf(fromRtf), m_sink(std::move(sink)) {}

    void add(std::u16string_view piece);
    // Passes on a "\r" held back at the end of the last piece.
    void finish();
    // The last character passed on; 0 when nothing was.
    char16_t last() const { return m_last; }

private:
    void passOn();

    bool m_fromRtf;
    Sink m_sink;
    std::u16string m_buffer;
    bool m_pendingReturn = false;
    char16_t m_last = 0;
};
