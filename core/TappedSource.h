#pragma once
// Hands on the pieces of another source unchanged and shows each one to a
// snapshot tap: the deciphered stream as the reader takes it.

#include "core/ByteSource.h"
#include "core/SnapshotTap.h"

class TappedSource : public ByteSource {
public:
    TappedSource(ByteSource& inner, SnapshotTap& tap) : m_inner(inner), m_tap(tap) {}

    std::span<const uint8_t> next() override {
        const std::span<const uint8_t> piece = m_inner.next();
        m_tap.streamBytes(piece.data(), piece.size());
        return piece;
    }
    uint64_t remaining() const override { return m_inner.remaining(); }
    size_t readInto(uint8_t* out, size_t size) override {
        const size_t got = m_inner.readInto(out, size);
        m_tap.streamBytes(out, got);
        return got;
    }

private:
    ByteSource& m_inner;
    SnapshotTap& m_tap;
};
