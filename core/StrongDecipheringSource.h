#pragma once
// Hands the database stream of a strongly protected file to a StreamReader,
// one authenticated piece at a time: no byte reaches the reader before its
// piece has been checked, and pieces are checked in file order. A first piece
// that does not check is a wrong password (WrongPasswordError); a later one,
// a body cut short, extended or without its end mark is damage
// (FileError::Kind::Damaged).
//
// Pieces are read a batch at a time and, where the library's states can be
// worked out ahead (StrongPieceChain), deciphered on two threads at once;
// large blocks are deciphered straight into the reader's buffer.

#include "core/ByteSource.h"
#include "core/StrongPieceChain.h"

#include <memory>
#include <sodium.h>
#include <string>
#include <vector>

class HelperThread;
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

    // Pieces read from the file at once, at most.
    static constexpr size_t batchPieces = 32;

private:
    using State = crypto_secretstream_xchacha20poly1305_state;
    struct Piece {
        size_t offset = 0; // in m_cipher
        size_t size = 0;   // ciphertext bytes
        bool first = false;
        StrongPieceChain::Nonce nonce{};     // deciphered with, when the chain is used
        StrongPieceChain::Nonce nextNonce{}; // the chain's nonce for the piece after it
        int result = -1;
        unsigned char tag = 0;
        unsigned long long plainSize = 0;
        bool stateFollows = true; // the library's state after it is the one the chain foresaw
    };

    struct Run {
        size_t pieces;
        size_t bytes; // plaintext
    };

    // Reads on until `wanted` pieces wait to be deciphered, as far as the
    // batch and the file go.
    void refill(size_t wanted);
    // Deciphers up to `wanted` waiting pieces into `out` (a piece's room
    // apart) and checks them in order.
    Run decipher(size_t wanted, uint8_t* out);
    void pull(Piece& piece, uint8_t* out);
    void check(const Piece& piece, bool last);
    void readFile(uint8_t* out, size_t size);
    [[noreturn]] void damaged(const char* detail) const;
    size_t readySize(size_t i) const;

    int m_fd;
    uint64_t m_offset;    // where the next file bytes are read from
    uint64_t m_remaining; // file bytes not yet read
    std::string m_path;
    std::vector<uint8_t> m_additional;         // the header, checked with the first piece
    std::unique_ptr<StrongPieceChain> m_chain; // absent: pieces deciphered in turn
    State m_running;                           // the state for the next piece, in turn
    bool m_anyRead = false;
    bool m_firstChecked = false;
    bool m_ended = false;

    std::vector<uint8_t> m_cipher; // the batch read from the file
    size_t m_cipherUsed = 0;
    std::vector<Piece> m_pieces; // the batch's pieces
    size_t m_waiting = 0;        // the first piece not yet deciphered

    std::vector<uint8_t> m_plain; // pieces checked, for next()
    size_t m_readyCount = 0;
    size_t m_readyNext = 0;
    size_t m_readyLastSize = 0;
    size_t m_run; // pieces next() deciphers at once: grows while the reader takes small fields

    std::unique_ptr<HelperThread> m_helper;
    SnapshotTap* m_tap = nullptr;
};
