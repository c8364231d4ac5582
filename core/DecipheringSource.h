#pragma once
// Hands the database stream of an open file to a StreamReader, reading and
// deciphering one large piece at a time, so that a load never holds the whole
// plaintext beside the nodes parsed from it.

#include "core/ByteSource.h"

#include <string>
#include <vector>

class DatabaseCipher;
class SnapshotTap;

class DecipheringSource : public ByteSource {
public:
    // `fd` is positioned at the first unit of the stream, which runs to the
    // end of the file, `size` bytes; `path` names the file in errors. Neither
    // fd nor cipher is owned.
    DecipheringSource(int fd, uint64_t size, const DatabaseCipher& cipher, std::string path);
    // Wipes the deciphered bytes still in the buffer.
    ~DecipheringSource() override;

    std::span<const uint8_t> next() override;
    uint64_t remaining() const override { return m_remaining; }
    // Whole cipher units, read and deciphered in place.
    size_t readInto(uint8_t* out, size_t size) override;

    // The bytes read and deciphered from now on also go to `tap` (not owned).
    void setTap(SnapshotTap* tap) { m_tap = tap; }

private:
    // Reads exactly `size` bytes; a file that has become shorter or longer
    // than its size at the start ends the read with FileError.
    void readFile(uint8_t* out, size_t size);

    int m_fd;
    uint64_t m_remaining;
    bool m_checkEnd; // a stream of no bytes is a file too short to hold one
    const DatabaseCipher& m_cipher;
    std::string m_path;
    std::vector<uint8_t> m_buffer;
    SnapshotTap* m_tap = nullptr;
};
