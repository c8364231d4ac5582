#pragma once
// The tables an RTF document declares before its text — fonts (with their
// code pages), colours and lists — and the document's code page. The parser
// feeds the table groups in and looks entries up while reading the text.
// Sizes grow only with the input; lookups are by map, never by scanning.

#include "editor/rtf/RichText.h"

#include <map>
#include <string>
#include <vector>

namespace rtf {

class RtfTables {
public:
    // The code page of bytes in the document and in fonts that name none.
    void setDocumentCodePage(int codePage);
    void setDefaultFont(int font) {
        m_defaultFont = font;
        m_cachedFont = kNoFont;
    }

    // Font table. An entry starts at \fN, takes \fcharset or \cpg, and its
    // name ends at ';' or when the group that began it closes.
    void beginFontTable() { m_entry = -1; }
    void beginFontEntry(int number, size_t depth);
    bool inFontEntry() const { return m_entry >= 0; }
    void setFontCharset(int charset);
    void setFontCodePage(int codePage);
    void fontNameBytes(const char* begin, const char* end);
    void fontNameUnit(char16_t unit);
    // A group closed, leaving `depth` groups open.
    void fontGroupClosed(size_t depth);

    // The code page of text in `font` (-1: the default font).
    int codePageOf(int font);
    // The face of `font`; empty when the font was never declared.
    const std::u16string& faceOf(int font) const;

    // Colour table: components, then ';' ends each entry. An entry with no
    // component is "automatic".
    void beginColourTable();
    void setRed(int v) { m_red = v; }
    void setGreen(int v) { m_green = v; }
    void setBlue(int v) { m_blue = v; }
    void colourTableBytes(const char* begin, const char* end);
    void colourTableClosed();
    // Entry `index`; automatic when there is no such entry.
    Colour colour(int index) const;

    // List table and list overrides.
    void beginList() { m_lists.emplace_back(); }
    void beginListLevel();
    void setListId(int id);
    void setLevelNumberFormat(int nfc);
    void setLevelStart(int start);
    void beginOverride() { m_overrideListId = 0; }
    void setOverrideListId(int id) { m_overrideListId = id; }
    void setOverrideNumber(int ls) { m_overrides[ls] = m_overrideListId; }
    // The numbering of list override `ls` at level `ilvl`; sets `start`.
    Numbering numberingOf(int ls, int ilvl, int* start) const;

private:
    static constexpr int kNoFont = -2;
    struct Font {
        std::u16string face;
        int codePage = 0; // 0: the document's code page
    };
    struct ListLevel {
        int nfc = 0;
        int startAt = 1;
    };
    struct List {
        std::vector<ListLevel> levels;
    };

    void commitFontName();
    int entryCodePage() const { return m_entryCodePage ? m_entryCodePage : m_docCodePage; }

    int m_docCodePage = 1252;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    int m_cachedFont = kNoFont;
    int m_cachedCodePage = 1252;

    int m_entry = -1;
    size_t m_entryDepth = 0;
    int m_entryCodePage = 0;
    std::string m_nameBytes;
    std::u16string m_name;

    std::vector<Colour> m_colours;
    int m_red = -1, m_green = -1, m_blue = -1;

    std::vector<List> m_lists;
    std::map<int, size_t> m_listIndex; // \listid -> index in m_lists
    std::map<int, int> m_overrides;    // \ls number -> \listid
    int m_overrideListId = 0;
};

} // namespace rtf
