// Reading a strongly protected body with its pieces deciphered side by side:
// the reader must get exactly what the writer put in, however it asks for the
// bytes, and a change to any piece past the first batch must still be found.
#include "FileTestSupport.h"
#include "fuzz/FuzzSupport.h"

#include "core/FileError.h"
#include "core/StrongDecipheringSource.h"
#include "core/StrongHeader.h"
#include "core/StrongPieceChain.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <random>
#include <unistd.h>

using namespace filetest;

namespace {

constexpr size_t kPlain = StrongHeader::pieceSize;
constexpr size_t kPiece = kPlain + StrongHeader::pieceOverhead;
// Two and a half batches of pieces.
constexpr size_t kPieces = StrongDecipheringSource::batchPieces * 5 / 2;

struct Body {
    std::vector<uint8_t> plain;
    std::vector<uint8_t> file;

    explicit Body(size_t size) : plain(size) {
        std::mt19937 random(static_cast<unsigned>(size));
        for (auto& b : plain)
            b = static_cast<uint8_t>(random());
        file = fuzz::strongFileOfStream(plain.data(), plain.size());
    }
};

// Reads `file` through the source, `take` choosing how: returns what the
// reader got before the end or the first refusal, and which refusal.
using Take = std::function<void(StrongDecipheringSource&, std::vector<uint8_t>&)>;
std::string readBody(const std::vector<uint8_t>& file, const Take& take, std::vector<uint8_t>& got) {
    TempFolder dir;
    const fs::path path = dir / "body.nte";
    writeFile(path, file);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    std::array<uint8_t, StrongHeader::size> head{};
    if (::read(fd, head.data(), head.size()) != static_cast<ssize_t>(head.size()))
        return "short";
    const StrongHeader header = StrongHeader::parse(head, path.string());
    try {
        StrongDecipheringSource source(fd, file.size() - head.size(), *fuzz::strongKey(), header,
                                       path.string());
        while (source.remaining() > 0 || got.empty())
            take(source, got);
        source.finish();
    } catch (const WrongPasswordError&) {
        return "wrong password";
    } catch (const FileError& e) {
        return e.kind() == FileError::Kind::Damaged ? "damaged" : "other";
    }
    return "loaded";
}

void bySmallPieces(StrongDecipheringSource& source, std::vector<uint8_t>& got) {
    const auto piece = source.next();
    got.insert(got.end(), piece.begin(), piece.end());
}

// As a stream reader does with a large block: what is left of the current
// piece, then whole pieces straight into place, then the rest by next().
Take byBlocks(size_t block) {
    return [block](StrongDecipheringSource& source, std::vector<uint8_t>& got) {
        std::vector<uint8_t> into(block);
        const size_t direct = source.readInto(into.data(), block);
        got.insert(got.end(), into.begin(), into.begin() + long(direct));
        if (direct < block)
            bySmallPieces(source, got);
    };
}

} // namespace

TEST(StrongPieces, SideBySideReadsGiveWhatWasWritten) {
    ASSERT_TRUE(StrongPieceChain::predictable());
    const Body body(kPieces * kPlain + 777);
    const struct {
        const char* what;
        Take take;
    } cases[] = {
        {"piece by piece", bySmallPieces},
        {"whole blocks of many pieces", byBlocks(50 * kPlain)},
        {"blocks of a few pieces and a bit", byBlocks(3 * kPlain + 100)},
        {"blocks just below a piece", byBlocks(kPlain - 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> got;
        EXPECT_EQ(readBody(body.file, c.take, got), "loaded");
        EXPECT_TRUE(got == body.plain);
    }
}

TEST(StrongPieces, ChangesPastTheFirstBatchAreRefused) {
    const Body body(kPieces * kPlain + 777);
    const size_t header = StrongHeader::size;
    const size_t batch = StrongDecipheringSource::batchPieces;
    const auto pieceAt = [&](size_t i) { return body.file.begin() + long(header + i * kPiece); };
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    const struct {
        const char* what;
        Edit edit;
        const char* expected;
        size_t readable; // pieces handed out before the refusal
    } cases[] = {
        {"a byte of a later batch", [&](auto& f) { f[header + (batch + 3) * kPiece + 9] ^= 4; }, "damaged",
         batch + 3},
        {"pieces swapped across batches",
         [&](auto& f) {
             std::swap_ranges(f.begin() + long(header + (batch - 1) * kPiece),
                              f.begin() + long(header + batch * kPiece),
                              f.begin() + long(header + batch * kPiece));
         },
         "damaged", batch - 1},
        {"a piece left out",
         [&](auto& f) {
             f.erase(f.begin() + long(header + 40 * kPiece), f.begin() + long(header + 41 * kPiece));
         },
         "damaged", 40},
        {"a piece repeated",
         [&](auto& f) { f.insert(f.begin() + long(header + 50 * kPiece), pieceAt(49), pieceAt(50)); },
         "damaged", 50},
        {"the end cut at a batch's end", [&](auto& f) { f.resize(header + 2 * batch * kPiece); }, "damaged",
         2 * batch},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> file = body.file;
        c.edit(file);
        for (const Take& take : {Take(bySmallPieces), byBlocks(20 * kPlain)}) {
            std::vector<uint8_t> got;
            EXPECT_EQ(readBody(file, take, got), c.expected);
            // What was handed out before the refusal is the writer's own.
            EXPECT_LE(got.size(), c.readable * kPlain);
            EXPECT_TRUE(std::equal(got.begin(), got.end(), body.plain.begin()));
        }
    }
}
