#pragma once
// Takes the database stream from a StreamWriter, enciphers it in large pieces
// of whole units and hands the ciphertext to a FileSink.

#include "core/ByteSink.h"

#include <vector>

class DatabaseCipher;
class FileSink;
class SnapshotTap;

class EncipheringSink : public ByteSink {
public:
    EncipheringSink(DatabaseCipher& cipher, FileSink& file);

    void write(const uint8_t* data, size_t size) override;
    // Enciphers and writes what is left, including a final partial unit.
    void finish();

    // The stream written and the ciphertext made from now on also go to `tap` (not owned).
    void setTap(SnapshotTap* tap) { m_tap = tap; }

private:
    void writeOut(size_t size);

    DatabaseCipher& m_cipher;
    FileSink& m_file;
    std::vector<uint8_t> m_buffer;
    size_t m_used = 0;
    SnapshotTap* m_tap = nullptr;
};
