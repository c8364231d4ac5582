#include "core/StreamWriter.h"

#include "core/FileError.h"

#include <bit>
#include <cstring>

namespace {

// Bytes collected before they are handed to a sink.
constexpr size_t kPieceSize = size_t{1} << 20;

} // namespace

StreamWriter::StreamWriter() = default;

StreamWriter::StreamWriter(ByteSink& sink) : m_sink(&sink) {
    m_buffer.reserve(kPieceSize);
}

void StreamWriter::append(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (m_sink && m_buffer.size() + size > kPieceSize) {
        flush();
        if (size >= kPieceSize) {
            // Large blocks (attachments) go to the sink without a copy.
            m_sink->write(bytes, size);
            m_handedOn += size;
            return;
        }
    }
    m_buffer.insert(m_buffer.end(), bytes, bytes + size);
}

void StreamWriter::flush() {
    if (!m_sink || m_buffer.empty())
        return;
    m_sink->write(m_buffer.data(), m_buffer.size());
    m_handedOn += m_buffer.size();
    m_buffer.clear();
}

void StreamWriter::writeByte(uint8_t value) {
    append(&value, 1);
}

void StreamWriter::writeWord(uint16_t value) {
    const uint8_t b[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    append(b, sizeof b);
}

void StreamWriter::writeInt32(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    append(b, sizeof b);
}

void StreamWriter::writeInt64(int64_t value) {
    const auto v = static_cast<uint64_t>(value);
    writeInt32(static_cast<int32_t>(static_cast<uint32_t>(v)));
    writeInt32(static_cast<int32_t>(static_cast<uint32_t>(v >> 32)));
}

void StreamWriter::writeBytes(const uint8_t* data, size_t size) {
    append(data, size);
}

void StreamWriter::writeString(const std::u16string& text) {
    const size_t count = text.size();
    // A count beyond int32 has no stored form; writing it would damage the file.
    if (count > 0x7FFFFFFF)
        throw FileError(FileError::Kind::Generic, std::string(), "string too long to store");
    // The header goes out in one piece: a record is mostly short fields.
    uint8_t header[10] = {0xFF, 0xFE, 0xFF};
    size_t headerSize = 4;
    if (count < 0xFF) {
        header[3] = static_cast<uint8_t>(count);
    } else if (count < 0xFFFE) {
        header[3] = 0xFF;
        header[4] = static_cast<uint8_t>(count);
        header[5] = static_cast<uint8_t>(count >> 8);
        headerSize = 6;
    } else {
        header[3] = header[4] = header[5] = 0xFF;
        for (int i = 0; i < 4; ++i)
            header[6 + i] = static_cast<uint8_t>(count >> (8 * i));
        headerSize = 10;
    }
    append(header, headerSize);
    if constexpr (std::endian::native == std::endian::little) {
        append(text.data(), count * 2);
    } else {
        for (char16_t c : text)
            writeWord(c);
    }
}

void StreamWriter::writeTimestamp(const NoteTimestamp& ts) {
    const uint16_t words[6] = {ts.year, ts.month, ts.dayOfWeek, ts.day, ts.hour, ts.minute};
    uint8_t b[sizeof words];
    for (size_t i = 0; i < 6; ++i) {
        b[2 * i] = static_cast<uint8_t>(words[i]);
        b[2 * i + 1] = static_cast<uint8_t>(words[i] >> 8);
    }
    append(b, sizeof b);
}
