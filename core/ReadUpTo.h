#pragma once
// Reads from a file descriptor until `size` bytes or the end of the file;
// returns how many were read. A failed read throws FileError with `path`.

#include <cstddef>
#include <cstdint>
#include <string>

size_t ReadUpTo(int fd, uint8_t* out, size_t size, const std::string& path);

// The same from `offset` on, leaving the file position alone; for readers on
// several threads. Returns how many were read, or -errno when a read failed.
int64_t ReadUpToAt(int fd, uint8_t* out, size_t size, uint64_t offset);
