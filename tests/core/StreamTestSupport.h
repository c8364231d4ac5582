#pragma once
// Helpers shared by the stream and file tests.

#include "core/FileError.h"
#include "core/NoteRecord.h"
#include "core/NoteTimestamp.h"
#include "tests/core/TimestampSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace streamtest {

inline NoteTimestamp stamp(int y, int mo, int dow, int d, int h, int mi) {
    return MakeStamp(y, mo, d, h, mi, 0, 0, dow);
}

// Little-endian bytes for hand-built streams.
inline void putWord(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void putInt32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void putInt64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// What the stream keeps of a node: time stamps lose second and millisecond.
inline NoteRecord stored(NoteRecord n) {
    for (NoteTimestamp* t : {&n.modifiedTime, &n.reminderTime, &n.reminderAckTime, &n.attachmentTime}) {
        t->second = 0;
        t->millisecond = 0;
    }
    return n;
}

inline std::map<int32_t, NoteRecord> stored(const std::map<int32_t, NoteRecord>& nodes) {
    std::map<int32_t, NoteRecord> out;
    for (const auto& [id, n] : nodes)
        out.emplace(id, stored(n));
    return out;
}

// Limits the address space of this (forked) process to what it uses now plus
// `extraBytes`, so that a huge allocation fails instead of succeeding lazily.
inline void limitAddressSpace(uint64_t extraBytes) {
    FILE* f = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (f) {
        if (std::fscanf(f, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(f);
    }
    rlimit lim{};
    lim.rlim_cur = lim.rlim_max = pages * 4096ULL + extraBytes;
    setrlimit(RLIMIT_AS, &lim);
}

} // namespace streamtest

// Expects `statement` to throw FileError of `kind`.
#define EXPECT_FILE_ERROR(statement, expectedKind)                                                           \
    do {                                                                                                     \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "no FileError from " #statement;                                                \
        } catch (const FileError& e) {                                                                       \
            EXPECT_EQ(e.kind(), expectedKind) << e.what();                                                   \
        }                                                                                                    \
    } while (0)
