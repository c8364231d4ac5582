#pragma once
// Where a StreamWriter hands its bytes when it does not keep them itself (the
// enciphering file writer). A failed write throws FileError.

#include <cstddef>
#include <cstdint>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const uint8_t* data, size_t size) = 0;
};
