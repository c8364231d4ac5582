#include "core/StrongDecipheringSource.h"

#include "core/FileError.h"
#include "core/HelperThread.h"
#include "core/ReadUpTo.h"
#include "core/SnapshotTap.h"
#include "core/StrongHeader.h"
#include "core/StrongKey.h"
#include "core/StrongPieceCipher.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t kPlain = StrongHeader::pieceSize;
constexpr size_t kCipher = StrongHeader::pieceSize + StrongHeader::pieceOverhead;
constexpr size_t kBatch = StrongDecipheringSource::batchPieces;
// next() deciphers one piece per thread at first, and doubles that while the
// reader keeps taking small fields.
constexpr size_t kFirstRun = 2;
// What one thread copies from the file at a time.
constexpr size_t kReadPart = size_t{256} << 10;

// Each thread deciphers with contexts of its own; none where the faster
// primitives do not match the library.
StrongPieceCipher* threadPieceCipher() {
    thread_local const std::unique_ptr<StrongPieceCipher> own =
        StrongPieceCipher::matchesLibrary() ? std::make_unique<StrongPieceCipher>() : nullptr;
    return own.get();
}

} // namespace

StrongDecipheringSource::StrongDecipheringSource(int fd, uint64_t size, const StrongKey& key,
                                                 const StrongHeader& header, std::string path)
    : m_fd(fd), m_offset(0), m_remaining(size), m_path(std::move(path)), m_cipher(kBatch * kCipher),
      m_plain(kBatch * kPlain), m_run(kFirstRun) {
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    if (at < 0)
        throw FileError(FileError::kindFromErrno(errno), m_path);
    m_offset = static_cast<uint64_t>(at);
    const auto bytes = header.bytes();
    m_additional.assign(bytes.begin(), bytes.end());
    crypto_secretstream_xchacha20poly1305_init_pull(&m_running, header.streamHeader.data(), key.bytes());
    m_pieces.reserve(kBatch);
    if (StrongPieceChain::predictable()) {
        m_chain = std::make_unique<StrongPieceChain>(m_running);
        if (size / kCipher + 1 > m_chain->stepsLeft())
            m_chain.reset();
    }
    if (m_chain && size > kCipher && std::thread::hardware_concurrency() > 1) {
        try {
            m_helper = std::make_unique<HelperThread>();
        } catch (const std::system_error&) {
            // No second thread to be had: this one does all the work.
        }
    }
}

StrongDecipheringSource::~StrongDecipheringSource() {
    m_helper.reset();
    sodium_memzero(&m_running, sizeof m_running);
    sodium_memzero(m_plain.data(), m_plain.size());
}

void StrongDecipheringSource::damaged(const char* detail) const {
    throw FileError(FileError::Kind::Damaged, m_path, detail);
}

void StrongDecipheringSource::readFile(uint8_t* out, size_t size) {
    if (!m_helper || size < 2 * kReadPart) {
        const int64_t got = ReadUpToAt(m_fd, out, size, m_offset);
        if (got < 0)
            throw FileError(FileError::kindFromErrno(static_cast<int>(-got)), m_path);
        if (static_cast<size_t>(got) < size)
            damaged("the file became shorter while it was read");
    } else {
        // Both threads copy from the file at once, a part at a time.
        std::atomic<int64_t> failure{0}; // -errno, or 1 for a file grown shorter
        const auto parts = static_cast<uint32_t>((size + kReadPart - 1) / kReadPart);
        m_helper->run(parts, [&](uint32_t i) {
            const size_t at = i * kReadPart;
            const size_t n = std::min(kReadPart, size - at);
            const int64_t got = ReadUpToAt(m_fd, out + at, n, m_offset + at);
            if (got < 0 || static_cast<size_t>(got) < n)
                failure = got < 0 ? got : 1;
        });
        if (failure < 0)
            throw FileError(FileError::kindFromErrno(static_cast<int>(-failure)), m_path);
        if (failure > 0)
            damaged("the file became shorter while it was read");
    }
    if (m_tap)
        m_tap->fileBytes(out, size);
    m_offset += size;
    m_remaining -= size;
}

void StrongDecipheringSource::refill(size_t wanted) {
    if (m_pieces.size() - m_waiting >= wanted || m_remaining == 0)
        return;
    // The pieces still waiting move to the front of the batch.
    const size_t from = m_waiting < m_pieces.size() ? m_pieces[m_waiting].offset : m_cipherUsed;
    std::memmove(m_cipher.data(), m_cipher.data() + from, m_cipherUsed - from);
    m_cipherUsed -= from;
    m_pieces.erase(m_pieces.begin(), m_pieces.begin() + static_cast<std::ptrdiff_t>(m_waiting));
    for (Piece& piece : m_pieces)
        piece.offset -= from;
    m_waiting = 0;

    // Whole pieces, but for the end of the file.
    const size_t take =
        static_cast<size_t>(std::min<uint64_t>(m_remaining, (kBatch - m_pieces.size()) * kCipher));
    readFile(m_cipher.data() + m_cipherUsed, take);
    const size_t end = m_cipherUsed + take;
    for (size_t at = m_cipherUsed; at < end; at += kCipher) {
        Piece piece;
        piece.offset = at;
        piece.size = std::min(kCipher, end - at);
        piece.first = !m_anyRead;
        m_anyRead = true;
        if (m_chain && piece.size >= StrongHeader::pieceOverhead) {
            piece.nonce = m_chain->step(m_cipher.data() + at, piece.size);
            piece.nextNonce = m_chain->peek();
        }
        m_pieces.push_back(piece);
    }
    m_cipherUsed = end;
}

void StrongDecipheringSource::pull(Piece& piece, uint8_t* out) {
    State state = m_chain ? m_chain->stateFor(piece.nonce) : m_running;
    const uint8_t* in = m_cipher.data() + piece.offset;
    const uint8_t* additional = piece.first ? m_additional.data() : nullptr;
    const size_t additionalSize = piece.first ? m_additional.size() : 0;
    bool done = false;
    if (StrongPieceCipher* own = threadPieceCipher()) {
        // This runs on the helper thread too, which must not throw: should the
        // faster library fail, the piece goes through the stream library.
        try {
            size_t size = 0;
            piece.result =
                own->pull(state, out, size, piece.tag, in, piece.size, additional, additionalSize) ? 0 : -1;
            piece.plainSize = size;
            done = true;
        } catch (const std::exception&) {
        }
    }
    if (!done)
        piece.result = crypto_secretstream_xchacha20poly1305_pull(&state, out, &piece.plainSize, &piece.tag,
                                                                  in, piece.size, additional, additionalSize);
    if (m_chain) {
        State foreseen = m_chain->stateFor(piece.nextNonce);
        piece.stateFollows = std::memcmp(&state, &foreseen, sizeof state) == 0;
        sodium_memzero(&foreseen, sizeof foreseen);
    } else {
        m_running = state;
    }
    sodium_memzero(&state, sizeof state);
}

void StrongDecipheringSource::check(const Piece& piece, bool last) {
    if (piece.size < StrongHeader::pieceOverhead)
        damaged("the end mark is missing");
    if (piece.result != 0) {
        // The first piece is checked with a key made from the password: a
        // piece that does not check tells a wrong password before damage.
        if (!m_firstChecked)
            throw WrongPasswordError();
        damaged("a piece does not check");
    }
    m_firstChecked = true;
    if (piece.tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
        if (!last)
            damaged("bytes follow the end mark");
        m_ended = true;
        // The size taken at the start must still be the whole file.
        uint8_t beyond;
        if (ReadUpToAt(m_fd, &beyond, 1, m_offset) != 0)
            damaged("the file became longer while it was read");
    } else if (piece.tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE || piece.plainSize != kPlain ||
               !piece.stateFollows) {
        damaged("a piece is out of place");
    }
}

StrongDecipheringSource::Run StrongDecipheringSource::decipher(size_t wanted, uint8_t* out) {
    refill(wanted);
    const size_t count = std::min(wanted, m_pieces.size() - m_waiting);
    if (count == 0)
        damaged("the end mark is missing");
    Piece* pieces = m_pieces.data() + m_waiting;
    if (m_helper && count > 1) {
        m_helper->run(static_cast<uint32_t>(count), [&](uint32_t i) { pull(pieces[i], out + i * kPlain); });
    } else {
        for (size_t i = 0; i < count; ++i)
            pull(pieces[i], out + i * kPlain);
    }
    Run run{count, 0};
    for (size_t i = 0; i < count; ++i) {
        check(pieces[i], m_waiting + i + 1 == m_pieces.size() && m_remaining == 0);
        run.bytes += static_cast<size_t>(pieces[i].plainSize);
    }
    m_waiting += count;
    return run;
}

size_t StrongDecipheringSource::readySize(size_t i) const {
    return i + 1 == m_readyCount ? m_readyLastSize : kPlain;
}

std::span<const uint8_t> StrongDecipheringSource::next() {
    if (m_readyNext < m_readyCount) {
        const size_t i = m_readyNext++;
        return {m_plain.data() + i * kPlain, readySize(i)};
    }
    if (m_ended)
        return {};
    const Run run = decipher(m_run, m_plain.data());
    m_run = std::min(m_run * 2, kBatch);
    m_readyCount = run.pieces;
    m_readyLastSize = run.bytes - (run.pieces - 1) * kPlain;
    m_readyNext = 1;
    return {m_plain.data(), readySize(0)};
}

uint64_t StrongDecipheringSource::remaining() const {
    const uint64_t ready =
        m_readyNext < m_readyCount ? (m_readyCount - m_readyNext - 1) * kPlain + m_readyLastSize : 0;
    if (m_ended)
        return ready;
    const size_t waitingFrom = m_waiting < m_pieces.size() ? m_pieces[m_waiting].offset : m_cipherUsed;
    const uint64_t cipher = m_remaining + (m_cipherUsed - waitingFrom);
    const uint64_t overhead = (cipher + kCipher - 1) / kCipher * StrongHeader::pieceOverhead;
    return ready + (cipher > overhead ? cipher - overhead : 0);
}

size_t StrongDecipheringSource::readInto(uint8_t* out, size_t size) {
    m_run = kFirstRun;
    size_t done = 0;
    // Pieces next() deciphered ahead go first.
    while (m_readyNext < m_readyCount && size - done >= readySize(m_readyNext)) {
        const size_t n = readySize(m_readyNext);
        std::memcpy(out + done, m_plain.data() + m_readyNext * kPlain, n);
        done += n;
        ++m_readyNext;
    }
    if (m_readyNext < m_readyCount)
        return done;
    while (!m_ended && size - done >= kPlain)
        done += decipher(std::min(kBatch, (size - done) / kPlain), out + done).bytes;
    return done;
}

void StrongDecipheringSource::finish() {
    while (!m_ended) {
        m_readyNext = m_readyCount;
        next();
    }
}
