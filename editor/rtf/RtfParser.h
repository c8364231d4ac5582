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

#include <map>
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

    void parse(std::string_view rtf);
    // Replaces a lone surrogate half by U+FFFD, as both modes do while reading.
    static bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
    static bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

    // Full mode: the document read (always at least one paragraph).
    Document takeDocument();
    // TextOnly mode: paragraphs joined by "\r\n", pictures and list markers left out.
    std::u16string takeText();

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
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikeout = false;
        uint8_t uc = 1;
        int font = -1; // -1: the default font (\deff)
        int sizeTwips = 200;
        Colour textColour = kAutoColour;
        Colour backColour = kAutoColour;
        ParaProps para;
    };

    struct Font {
        std::u16string face;
        int codePage = 0; // 0: the document's code page
    };
    struct ListLevelInfo {
        int nfc = 0;
        int startAt = 1;
    };
    struct ListInfo {
        int id = 0;
        std::vector<ListLevelInfo> levels;
    };

    // Tokens.
    void controlWord(std::string_view name, bool hasParam, int param);
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
    void resolvePendingHigh();
    void emit(std::u16string_view text);
    std::u16string& target();
    void finishDocument();
    void endParagraph();
    void markContent();
    bool takesText() const { return m_state.dest == Dest::Normal && !m_state.hidden; }
    int codePageOf(const State& state);

    // Destinations.
    void startDestination(Keyword keyword);
    void fontTableWord(Keyword keyword, int param);
    void fontNameByte(uint8_t byte);
    void commitFontName();
    void colourTableByte(uint8_t byte);
    void finishPn();
    void finishPicture(const State& pictState);
    Numbering numberingFromList(int ls, int ilvl, int* start) const;

    Mode m_mode;
    const char* m_pos = nullptr;
    const char* m_end = nullptr;
    bool m_done = false;

    State m_state;
    std::vector<State> m_stack;
    int m_overflowDepth = 0; // groups beyond kMaxDepth, read flat
    bool m_starNext = false;
    int m_skipFallback = 0;     // \uN fallback characters still to drop
    char16_t m_pendingHigh = 0; // a high surrogate waiting for its low half
    bool m_finished = false;

    // Document-wide settings.
    int m_docCodePage = 1252;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    std::vector<Colour> m_colours;
    int m_cachedFont = -2;
    int m_cachedCodePage = 1252;

    // Font table entry being read.
    int m_fontEntry = -1;
    size_t m_fontEntryDepth = 0; // the group depth the entry began in
    int m_fontEntryCodePage = 0;
    std::string m_fontNameBytes;
    std::u16string m_fontName; // the part of the name already decoded

    // Colour table entry being read.
    int m_red = -1, m_green = -1, m_blue = -1;

    // \pn group being read.
    bool m_pnBullet = false, m_pnBody = false;
    Numbering m_pnStyle = Numbering::None;
    int m_pnStart = 1;

    // List tables.
    std::vector<ListInfo> m_lists;
    std::map<int, size_t> m_listIndex; // \listid -> index in m_lists
    std::map<int, int> m_overrides;    // \ls number -> \listid
    int m_overrideListId = 0;

    // Picture being read.
    Picture m_pict;
    bool m_pictKnown = false;
    bool m_pictHasData = false;
    int m_pictScaleX = 100, m_pictScaleY = 100;
    int m_nibble = -1;

    // Text bytes not yet decoded, all in one code page.
    std::string m_bytes;
    int m_bytesCodePage = 1252;

    // The character properties of the open run, to tell when a new run starts.
    struct CharKey {
        int font = -1;
        int sizeTwips = 0;
        bool bold = false, italic = false, underline = false, strikeout = false;
        Colour textColour = kAutoColour, backColour = kAutoColour;
        bool operator==(const CharKey&) const = default;
    };
    static CharKey keyOf(const State& s) {
        return {s.font, s.sizeTwips, s.bold, s.italic, s.underline, s.strikeout, s.textColour, s.backColour};
    }
    CharFormat formatOf(const State& s);
    CharKey m_runKey;
    bool m_runOpen = false;

    // Output.
    Document m_doc;
    Paragraph m_para;
    bool m_paraHasContent = false;
    std::u16string m_text; // TextOnly
    int m_closedParagraphs = 0;
    bool m_separatorDone = false; // TextOnly: "\r\n" before this paragraph written
};

} // namespace rtf
