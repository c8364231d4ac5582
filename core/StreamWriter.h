#pragma once
// Writes the little-endian fields of a database stream. Strings are always
// written in the UTF-16 form. Without a sink the bytes are kept in memory;
// with one they are handed on in large pieces.

#include "core/ByteSink.h"
#include "core/NoteTimestamp.h"

#include <cstdint>
#include <string>
#include <vector>

class StreamWriter {
public:
    // Keeps everything written; see bytes().
    StreamWriter();
    // Hands the bytes to `sink` (which must outlive the writer) whenever a
    // piece is full and on flush().
    explicit StreamWriter(ByteSink& sink);

    StreamWriter(const StreamWriter&) = delete;
    StreamWriter& operator=(const StreamWriter&) = delete;

    void writeByte(uint8_t value);
    void writeWord(uint16_t value);
    void writeInt32(int32_t value);
    void writeInt64(int64_t value);
    void writeBytes(const uint8_t* data, size_t size);
    void writeString(const std::u16string& text);
    // Six words; second and millisecond are not stored.
    void writeTimestamp(const NoteTimestamp& ts);

    // Hands any buffered bytes to the sink (nothing to do without one).
    void flush();

    // Everything written so far, when there is no sink.
    const std::vector<uint8_t>& bytes() const { return m_buffer; }
    uint64_t written() const { return m_handedOn + m_buffer.size(); }

private:
    void append(const void* data, size_t size);

    ByteSink* m_sink = nullptr;
    std::vector<uint8_t> m_buffer;
    uint64_t m_handedOn = 0;
};
