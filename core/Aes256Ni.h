#pragma once
// The hardware path of Aes256, compiled with the AES instruction set enabled
// (Aes256Ni.cpp). Call only when Aes256::hardwareAvailable() is true. `keys`
// are the 15 round keys of the matching schedule, 16-byte aligned.

#include <cstddef>
#include <cstdint>

namespace Aes256Ni {

void encryptBlocks(const uint8_t* keys, uint8_t* data, size_t blocks);
void decryptBlocks(const uint8_t* keys, uint8_t* data, size_t blocks);
void encryptCbc(const uint8_t* keys, uint8_t* data, size_t blocks);
void decryptCbc(const uint8_t* keys, uint8_t* data, size_t blocks);

} // namespace Aes256Ni
