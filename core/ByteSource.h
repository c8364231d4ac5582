#pragma once
// Where a StreamReader takes its bytes from: memory, or a file deciphered piece
// by piece, so that a load never needs the whole plaintext at once.

#include <cstddef>
#include <cstdint>
#include <span>

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // The next piece of data; it stays valid until the next call. Empty once
    // everything has been handed out (or the data ended earlier than announced).
    virtual std::span<const uint8_t> next() = 0;

    // How many bytes later calls of next() will still hand out, at most. The
    // reader checks counts and lengths against this before it allocates.
    virtual uint64_t remaining() const = 0;

    // Large blocks (attachments, long bodies) skip the piece buffer: called
    // only once next()'s piece has been used up, this reads up to `size`
    // bytes straight into `out` and returns how many it gave, which may be
    // fewer (a source that works in units gives whole units only) or none
    // (then next() goes on as usual).
    virtual size_t readInto(uint8_t* out, size_t size) {
        (void)out;
        (void)size;
        return 0;
    }
};
