#include "core/StreamReader.h"

#include "core/CodePage.h"
#include "core/FileError.h"
#include "core/LargePages.h"
#include "core/MemorySource.h"
#include "core/StringPieces.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

[[noreturn]] void endOfData() {
    throw FileError(FileError::Kind::EndOfFile, std::string());
}

// Blocks from this size on are read past the piece buffer where the source allows.
// The fuzzers build with small pieces, so that short inputs take this way too.
#ifndef SEALBOOK_SMALL_PIECES
constexpr size_t kBulkSize = size_t{64} << 10;
#else
constexpr size_t kBulkSize = 2048;
#endif

} // namespace

StreamReader::StreamReader(ByteSource& source) : m_source(&source) {}

StreamReader::StreamReader(std::span<const uint8_t> bytes)
    : m_ownSource(std::make_unique<MemorySource>(bytes)), m_source(m_ownSource.get()) {}

StreamReader::~StreamReader() = default;

bool StreamReader::refill() {
    const std::span<const uint8_t> piece = m_source->next();
    m_pos = piece.data();
    m_end = piece.data() + piece.size();
    return !piece.empty();
}

uint64_t StreamReader::remaining() const {
    return static_cast<uint64_t>(m_end - m_pos) + m_source->remaining();
}

void StreamReader::require(uint64_t size) const {
    if (size > remaining())
        endOfData();
}

void StreamReader::requireCount(int64_t count, uint64_t minItemSize) const {
    if (count < 0)
        endOfData();
    const uint64_t items = static_cast<uint64_t>(count);
    if (minItemSize != 0 && items > remaining() / minItemSize)
        endOfData();
}

void StreamReader::readBytes(uint8_t* out, size_t size) {
    while (size > 0) {
        if (m_pos == m_end && !refill())
            endOfData();
        const size_t take = std::min(size, static_cast<size_t>(m_end - m_pos));
        std::memcpy(out, m_pos, take);
        m_pos += take;
        out += take;
        size -= take;
    }
}

void StreamReader::skip(uint64_t size) {
    while (size > 0) {
        if (m_pos == m_end && !refill())
            endOfData();
        const uint64_t take = std::min(size, static_cast<uint64_t>(m_end - m_pos));
        m_pos += take;
        size -= take;
    }
}

uint8_t StreamReader::readByte() {
    if (m_pos == m_end && !refill())
        endOfData();
    return *m_pos++;
}

// The fixed-size fields: straight from the piece when it holds them whole,
// which is nearly always.
template <size_t N> const uint8_t* StreamReader::fieldBytes(uint8_t (&spare)[N]) {
    if (static_cast<size_t>(m_end - m_pos) >= N) {
        const uint8_t* b = m_pos;
        m_pos += N;
        return b;
    }
    readBytes(spare, N);
    return spare;
}

uint16_t StreamReader::readWord() {
    uint8_t spare[2];
    const uint8_t* b = fieldBytes(spare);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

int32_t StreamReader::readInt32() {
    uint8_t spare[4];
    const uint8_t* b = fieldBytes(spare);
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

int64_t StreamReader::readInt64() {
    const uint32_t low = static_cast<uint32_t>(readInt32());
    const uint32_t high = static_cast<uint32_t>(readInt32());
    return static_cast<int64_t>(static_cast<uint64_t>(high) << 32 | low);
}

void StreamReader::readBulk(uint8_t* out, size_t size) {
    const size_t first = std::min(size, static_cast<size_t>(m_end - m_pos));
    if (first > 0) {
        std::memcpy(out, m_pos, first);
        m_pos += first;
        out += first;
        size -= first;
    }
    // The piece is used up here, so the source may hand whole units straight in.
    while (size >= kBulkSize) {
        const size_t got = m_source->readInto(out, size);
        if (got == 0)
            break;
        out += got;
        size -= got;
    }
    readBytes(out, size);
}

std::vector<uint8_t> StreamReader::readBlock(int64_t size) {
    std::vector<uint8_t> block;
    readBlock(size, block);
    return block;
}

void StreamReader::readBlock(int64_t size, std::vector<uint8_t>& into) {
    if (size < 0)
        endOfData();
    require(static_cast<uint64_t>(size));
    LargePages::prepare(into, static_cast<size_t>(size));
    into.resize(static_cast<size_t>(size));
    readBulk(into.data(), into.size());
}

NoteTimestamp StreamReader::readTimestamp() {
    uint8_t spare[12];
    const uint8_t* b = fieldBytes(spare);
    const auto word = [b](int i) { return static_cast<uint16_t>(b[2 * i] | (b[2 * i + 1] << 8)); };
    NoteTimestamp ts;
    ts.year = word(0);
    ts.month = word(1);
    ts.dayOfWeek = word(2);
    ts.day = word(3);
    ts.hour = word(4);
    ts.minute = word(5);
    return ts;
}

// The count after a first byte of 0xFF and a word other than the UTF-16 marker.
uint64_t StreamReader::readLength() {
    const uint32_t count = static_cast<uint32_t>(readInt32());
    if (count != 0xFFFFFFFFu)
        return count;
    const uint64_t wide = static_cast<uint64_t>(readInt64());
    if (wide >= (uint64_t{1} << 31))
        endOfData();
    return wide;
}

std::u16string StreamReader::readString() {
    std::u16string text;
    readString(text);
    return text;
}

uint64_t StreamReader::readStringHeader(bool& utf16) {
    utf16 = false;
    uint64_t count = readByte();
    if (count == 0xFF) {
        uint16_t word = readWord();
        if (word == 0xFFFE) {
            // After the marker the count follows again, now counting UTF-16 units.
            utf16 = true;
            count = readByte();
            if (count == 0xFF)
                word = readWord();
        }
        if (count == 0xFF)
            count = word < 0xFFFF ? word : readLength();
    }
    return count;
}

void StreamReader::readString(std::u16string& into) {
    bool utf16 = false;
    const uint64_t count = readStringHeader(utf16);
    if (!utf16) {
        // 8-bit strings were written in the system's ANSI code page.
        require(count);
        into.resize(static_cast<size_t>(count));
        for (char16_t& c : into)
            c = CodePage::fromCp1252(readByte());
        return;
    }

    if (count > remaining() / 2)
        endOfData();
    LargePages::prepare(into, static_cast<size_t>(count));
    into.resize(static_cast<size_t>(count));
    readBulk(reinterpret_cast<uint8_t*>(into.data()), into.size() * 2);
    if constexpr (std::endian::native == std::endian::big) {
        for (char16_t& c : into)
            c = static_cast<char16_t>((c >> 8) | (c << 8));
    }
}

void StreamReader::readString(StringPieces& pieces) {
    bool utf16 = false;
    uint64_t count = readStringHeader(utf16);
    require(utf16 ? count * 2 : count);
    pieces.start(count);
    constexpr size_t kPiece = 4096;
    char16_t text[kPiece];
    while (count > 0) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(count, kPiece));
        if (utf16) {
            readBytes(reinterpret_cast<uint8_t*>(text), n * 2);
            if constexpr (std::endian::native == std::endian::big) {
                for (size_t i = 0; i < n; ++i)
                    text[i] = static_cast<char16_t>((text[i] >> 8) | (text[i] << 8));
            }
        } else {
            for (size_t i = 0; i < n; ++i)
                text[i] = CodePage::fromCp1252(readByte());
        }
        pieces.piece(std::u16string_view(text, n));
        count -= n;
    }
}
