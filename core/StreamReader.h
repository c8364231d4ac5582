#pragma once
// Reads the little-endian fields of a database stream: bytes, words, int32,
// strings in both stored forms and time stamps. Every count, length and size
// is checked against the bytes that remain before anything is allocated; data
// that ends early throws FileError(EndOfFile) for "an unnamed file".

#include "core/ByteSource.h"
#include "core/NoteTimestamp.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class MemorySource;
class StringPieces;

class StreamReader {
public:
    // Pulls from `source`, which must outlive the reader.
    explicit StreamReader(ByteSource& source);
    // Reads from bytes in memory, which must outlive the reader.
    explicit StreamReader(std::span<const uint8_t> bytes);
    ~StreamReader();

    StreamReader(const StreamReader&) = delete;
    StreamReader& operator=(const StreamReader&) = delete;

    uint8_t readByte();
    uint16_t readWord();
    int32_t readInt32();
    int64_t readInt64();
    void readBytes(uint8_t* out, size_t size);
    // `size` bytes into a fresh buffer; a negative or too large size is refused
    // before the buffer is allocated.
    std::vector<uint8_t> readBlock(int64_t size);
    // The same into `into`, whose storage is reused when large enough.
    void readBlock(int64_t size, std::vector<uint8_t>& into);
    // A string in the UTF-16 or the 8-bit form (8-bit text is Windows-1252).
    std::u16string readString();
    // The same into `into`, whose storage is reused when large enough.
    void readString(std::u16string& into);
    // The same handed to `pieces` a part at a time, never held whole.
    void readString(StringPieces& pieces);
    // Six words: year, month, day of week, day, hour, minute.
    NoteTimestamp readTimestamp();
    void skip(uint64_t size);

    // Bytes still to come.
    uint64_t remaining() const;
    // Throws EndOfFile unless at least `size` bytes are still to come.
    void require(uint64_t size) const;
    // Checks a stored count of items each taking at least `minItemSize` bytes.
    void requireCount(int64_t count, uint64_t minItemSize) const;

private:
    bool refill();
    template <size_t N> const uint8_t* fieldBytes(uint8_t (&spare)[N]);
    // Fills `out` from the current piece, then straight from the source.
    void readBulk(uint8_t* out, size_t size);
    uint64_t readLength();
    // The header of a string: its length in characters, and whether UTF-16.
    uint64_t readStringHeader(bool& utf16);

    std::unique_ptr<MemorySource> m_ownSource;
    ByteSource* m_source = nullptr;
    const uint8_t* m_pos = nullptr;
    const uint8_t* m_end = nullptr;
};
