#pragma once
// Hands the database stream of a strongly protected file to a StreamReader,
// one authenticated piece at a time: no byte reaches the reader before its
// piece has been checked. A first piece that does not check is a wrong
// password (WrongPasswordError); a later one, a body cut short, extended or
// without its end mark is damage (FileError::Kind::Damaged).

#include "core/ByteSource.h"

#include <sodium.h>
#include <string>
#include <vector>

class SnapshotTap;
class StrongHeader;
class StrongKey;

class StrongDecipheringSource : public ByteSource {
public:
    // `fd` is positioned at the body, which runs to the end of the file,
    // `size` bytes; the header's 64 bytes are checked with the first piece.
    StrongDecipheringSource(int fd, uint64_t size, const StrongKey& key, const StrongHeader& header,
                            std::string path);
    ~StrongDecipheringSource() override;
    StrongDecipheringSource(const StrongDecipheringSource&) = delete;
    StrongDecipheringSource& operator=(const StrongDecipheringSource&) = delete;

    std::span<const uint8_t> next() override;
    uint64_t remaining() const override;
    // Whole pieces, deciphered straight into `out`.
    size_t readInto(uint8_t* out, size_t size) override;
    // Every file byte read from now on also goes to `tap` (not owned).
    void setTap(SnapshotTap* tap) { m_tap = tap; }

    // Reads and checks the pieces the reader did not need, up to the end mark
    // and the end of the file. A load is whole only when this returns.
    void finish();

private:
    // The next piece's plaintext length, 0 at the end of the body.
    size_t nextPlainSize() const;
    // Reads the next piece and deciphers it into `out` (room for pieceSize bytes).
    size_t pullInto(uint8_t* out);
    void readFile(uint8_t* out, size_t size);
    [[noreturn]] void damaged(const char* detail) const;

    int m_fd;
    uint64_t m_remaining; // file bytes not yet read
    std::string m_path;
    crypto_secretstream_xchacha20poly1305_state m_state;
    std::vector<uint8_t> m_additional; // the header, checked with the first piece
    bool m_first = true;
    bool m_ended = false;
    std::vector<uint8_t> m_cipher;
    std::vector<uint8_t> m_plain;
    SnapshotTap* m_tap = nullptr;
};
