#include "core/MemorySource.h"

std::span<const uint8_t> MemorySource::next() {
    if (m_given)
        return {};
    m_given = true;
    return m_bytes;
}
