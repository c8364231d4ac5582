#pragma once
// The one RTF parser behind both the reader and the plain-text conversion.
// In Full mode it builds a Document; in TextOnly mode it keeps only the
// visible text, so that find can walk every body without building the model.
// Both modes share every decision about what is text, so they always agree.
//
// Hostile input is expected: nesting is bounded, numbers are clamped, counts
// never reach past the input, and every allocation is proportional to the input.

#include "editor/rtf/RichText.h"
#include "editor/rtf/RtfKeywords.h"
#include "editor/rtf/RtfOutput.h"
#include "editor/rtf/RtfTables.h"

#include <string>
#include <string_view>
#include <vector>

namespace rtf {

class RtfParser {
public:
    enum class Mode { Full, TextOnly };

    // Groups nested deeper than this are read as if they were flat.
    static constexpr int kMaxDepth = 256;

    explicit RtfParser(Mode mode) : m_mode(mode) {}
    // The output refers to the parser's own tables.
    RtfParser(const RtfParser&) = delete;
    RtfParser& operator=(const RtfParser&) = delete;

    void parse(std::string_view rtf);

    // Full mode: the document read (always at least one paragraph).
    Document takeDocument();
    // TextOnly mode: paragraphs joined by "\r\n", pictures and list markers left out.
    std::u16string takeText();
    // TextOnly mode, set before parse(): the text goes to `sink` in pieces as
    // it is read; takeText() then gives only what is left after the last one.
    void setTextSink(std::function<void(std::u16string_view)> sink) { m_out.setTextSink(std::move(sink)); }

private:
    enum class Dest : uint8_t {
        Normal,
        FontTable,
        ColourTable,
        Pict,
        Pn,
        ListTable,
        ListOverrideTable,
        Upr, // the ANSI half of a \upr pair: its \ud half holds the same text
    };

    struct ParaProps {
        Alignment alignment = Alignment::Left;
        Numbering numbering = Numbering::None;
        bool hasPn = false; // numbering came from the \pn form
        int numberingStart = 1;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int ls = 0;
        int ilvl = 0;
    };

    // Everything a group saves and restores. Kept trivially copyable: a group
    // start copies it.
    struct State {
        Dest dest = Dest::Normal;
        bool hidden = false;
        uint8_t uc = 1;
        RtfOutput::CharProps chars;
        ParaProps para;
    };

    // Tokens.
    void controlWord(std::string_view name, bool hasParam, int param);
    // Words of the tables, lists, \pn and pictures; false for any other word.
    bool destinationWord(Keyword kw, bool hasParam, int param);
    // Words of text, character and paragraph formatting.
    void formatWord(Keyword kw, bool hasParam, int param);
    void controlSymbol(char c);
    void escape();
    void textBytes(const char* begin, const char* end);
    void openGroup();
    void closeGroup();
    // Moves past the rest of the current group without looking at its content.
    void skipGroup();
    void binary(int count);

    // Text.
    void flushBytes();
    void appendUnit(char16_t unit);
    void finishDocument();
    // The attributes of the paragraph being read, numbering resolved.
    Paragraph paragraphProps() const;
    void endParagraph();
    bool takesText() const { return m_state.dest == Dest::Normal && !m_state.hidden; }

    // Destinations.
    void finishPn();
    void finishPicture(const State& pictState);

    Mode m_mode;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    bool m_done = false;

    State m_state;
    std::vector<State> m_stack;
    int m_overflowDepth = 0; // groups beyond kMaxDepth, read flat
    bool m_starNext = false;
    int m_skipFallback = 0; // \uN fallback characters still to drop
    bool m_finished = false;

    RtfTables m_tables;

    // \pn group being read.
    bool m_pnBullet = false, m_pnBody = false;
    Numbering m_pnStyle = Numbering::None;
    int m_pnStart = 1;

    // Picture being read.
    Picture m_pict;
    bool m_pictKnown = false;
    bool m_pictHasData = false;
    int m_pictScaleX = 100, m_pictScaleY = 100;
    int m_nibble = -1;

    // Text bytes not yet decoded, all in one code page.
    std::string m_bytes;
    int m_bytesCodePage = 1252;

    RtfOutput m_out{m_mode == Mode::TextOnly, m_tables};
};

} // namespace rtf
