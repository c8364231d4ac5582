#pragma once
// The body of the note that show prints, taken in pieces as the database is
// read, so that even a body of tens of megabytes is held only once, and in
// the form its plain text is made from: an RTF body as the ANSI bytes the
// RTF reader takes, a plain body as stored.

#include "core/StringPieces.h"

#include <functional>
#include <string>
#include <string_view>

class ShownBody : public StringPieces {
public:
    void start(uint64_t length) override;
    void piece(std::u16string_view text) override;

    // Hands the body's text, with the line ends a terminal expects, to `out`
    // in pieces, and gives up the body. Returns the last character handed
    // out, 0 when there was none.
    char16_t write(const std::function<void(std::u16string_view)>& out);

private:
    uint64_t m_length = 0;
    bool m_started = false;
    bool m_rtf = false;
    std::string m_bytes;   // an RTF body
    std::u16string m_text; // a plain body
};
