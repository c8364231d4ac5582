#pragma once
// Where the RTF parser's text goes: runs and paragraphs of a Document, or,
// for find, only the plain text. Both are built by the same calls, so that
// the plain text always equals the text of the document.

#include "editor/rtf/RichText.h"
#include "editor/rtf/RtfTables.h"

#include <functional>
#include <string>
#include <string_view>

namespace rtf {

class RtfOutput {
public:
    // The character properties the parser tracks; fonts and colours are
    // resolved through the tables only when a run starts.
    struct CharProps {
        int font = -1; // -1: the default font
        int sizeTwips = 200;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikeout = false;
        Colour textColour = kAutoColour;
        Colour backColour = kAutoColour;
        bool operator==(const CharProps&) const = default;
    };

    RtfOutput(bool textOnly, const RtfTables& tables) : m_textOnly(textOnly), m_tables(tables) {}

    void bytes(const CharProps& chars, std::string_view bytes, int codePage);
    // One UTF-16 unit; surrogate halves are paired here, a lone half becomes U+FFFD.
    void unit(const CharProps& chars, char16_t unit);
    void picture(const CharProps& chars, Picture picture);
    // Ends the paragraph with the attributes of `props` (its runs are ignored).
    void endParagraph(const Paragraph& props);
    // After the last token: the text after the last paragraph mark is a
    // paragraph only when it has content, or when there is nothing else.
    void finish(const Paragraph& props);

    Document takeDocument() { return std::move(m_doc); }
    // Paragraphs joined by "\r\n"; pictures left out.
    std::u16string takeText() { return std::move(m_text); }
    // Text only: hands the text out in pieces as it grows, instead of keeping
    // it all; takeText() then gives what is left after the last piece.
    void setTextSink(std::function<void(std::u16string_view)> sink) { m_sink = std::move(sink); }

private:
    std::u16string& target(const CharProps& chars);
    void passOnText();
    void emit(const CharProps& chars, std::u16string_view text);
    void resolvePendingHigh();
    CharFormat formatOf(const CharProps& chars) const;

    bool m_textOnly;
    const RtfTables& m_tables;

    char16_t m_pendingHigh = 0; // a high surrogate waiting for its low half
    CharProps m_pendingChars;

    Document m_doc;
    Paragraph m_para;
    CharProps m_runChars; // of the open run
    bool m_runOpen = false;
    bool m_paraHasContent = false;
    int m_closedParagraphs = 0;

    std::u16string m_text;
    std::function<void(std::u16string_view)> m_sink;
    bool m_separatorDone = false; // "\r\n" before this paragraph written
};

} // namespace rtf
