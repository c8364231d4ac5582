#pragma once
// Reads from a file descriptor until `size` bytes or the end of the file;
// returns how many were read. A failed read throws FileError with `path`.

#include <cstddef>
#include <cstdint>
#include <string>

size_t ReadUpTo(int fd, uint8_t* out, size_t size, const std::string& path);
