#pragma once
// The hardware path of Sha1, compiled with the SHA instruction set enabled
// (Sha1Ni.cpp). Call only when Sha1::hardwareAvailable() is true.

#include <cstddef>
#include <cstdint>

namespace Sha1Ni {

// Runs the compression over `blocks` whole 64-byte blocks.
void compressBlocks(uint32_t state[5], const uint8_t* data, size_t blocks);

} // namespace Sha1Ni
