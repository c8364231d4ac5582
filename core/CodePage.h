#pragma once
// Conversion between UTF-16 and the Windows code pages that note bodies and
// RTF text are written in. Bodies are streamed to and from the editor in the
// system ANSI code page (1252 here); RTF names others with \ansicpg and
// \fcharset. Invalid input never fails: undecodable bytes become U+FFFD and
// characters a code page cannot hold become '?', with their positions reported.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CodePage {
public:
    // The code page that stands for the system ANSI code page.
    static constexpr int kAnsi = 1252;
    static constexpr char16_t kReplacement = u'\uFFFD';
    static constexpr char kDefaultChar = '?';

    // True for the code pages this class converts: 874, 932, 936, 949, 950, 1250-1258.
    static bool isSupported(int codePage);
    // True for the double-byte code pages (932, 936, 949, 950).
    static bool isDoubleByte(int codePage);
    // True when the byte starts a two-byte character in a double-byte code page.
    static bool isLeadByte(int codePage, uint8_t byte);

    // Bytes to UTF-16. An unsupported code page is read as 1252; invalid or
    // incomplete sequences become U+FFFD.
    static std::u16string toUtf16(std::string_view bytes, int codePage = kAnsi);
    // Appends instead of returning, so callers can build text in one buffer.
    static void appendUtf16(std::u16string& out, std::string_view bytes, int codePage = kAnsi);

    // UTF-16 to bytes. Each character the code page cannot hold (and each
    // unpaired surrogate) becomes '?'; when `unrepresentable` is given, the
    // index in `text` of each such character is appended to it.
    static std::string fromUtf16(std::u16string_view text, int codePage = kAnsi,
                                 std::vector<size_t>* unrepresentable = nullptr);

    // The 1252 table, for the hot paths of the database loader and the RTF scanner.
    // Every byte maps to a character; the five bytes 1252 leaves undefined map
    // to U+0081, U+008D, U+008F, U+0090 and U+009D, as Windows maps them, so
    // that any byte string survives a round trip.
    static char16_t fromCp1252(uint8_t byte) { return s_cp1252[byte]; }
    // The 1252 byte for a character, or -1 when 1252 cannot hold it.
    static int toCp1252(char16_t ch);

private:
    static const char16_t s_cp1252[256];
};
