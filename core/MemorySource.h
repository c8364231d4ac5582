#pragma once
// A ByteSource over bytes already in memory: handed out as one piece, no copy.

#include "core/ByteSource.h"

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    std::span<const uint8_t> next() override;
    uint64_t remaining() const override { return m_given ? 0 : m_bytes.size(); }

private:
    std::span<const uint8_t> m_bytes;
    bool m_given = false;
};
