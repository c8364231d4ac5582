#pragma once
// Takes the database stream from a StreamWriter and writes a strongly
// protected file to a FileSink: the header, then the stream in authenticated
// pieces of 64 KiB, the last one (shorter, possibly empty) marked as the end.
// Only ciphertext ever reaches the file.

#include "core/ByteSink.h"
#include "core/FileWriterThread.h"
#include "core/StrongPieceCipher.h"

#include <memory>
#include <sodium.h>
#include <vector>

class FileSink;
class StrongKey;

class StrongEncipheringSink : public ByteSink {
public:
    // Writes the header at once.
    StrongEncipheringSink(const StrongKey& key, FileSink& file);
    ~StrongEncipheringSink() override;
    StrongEncipheringSink(const StrongEncipheringSink&) = delete;
    StrongEncipheringSink& operator=(const StrongEncipheringSink&) = delete;

    void write(const uint8_t* data, size_t size) override;
    // Writes the last piece with the end mark; returns once all is written.
    void finish();

private:
    void push(const uint8_t* plain, size_t size, unsigned char tag);
    void flush();

    FileWriterThread m_writer;
    crypto_secretstream_xchacha20poly1305_state m_state;
    std::unique_ptr<StrongPieceCipher> m_pieceCipher; // none: the library's own push
    std::vector<uint8_t> m_additional;                // the header, authenticated with the first piece
    bool m_first = true;
    std::vector<uint8_t> m_plain; // the piece being filled
    size_t m_used = 0;
    std::vector<uint8_t>* m_out; // ciphertext gathered for one large file write
    size_t m_outUsed = 0;
};
