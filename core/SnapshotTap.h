#pragma once
// Follows the bytes of a database file as a load or save passes them: every
// byte of the file into the identity's digest, the deciphered stream into the
// snapshot. Inactive (no snapshot) it does nothing.

#include "core/FileSnapshot.h"
#include "core/Sha1.h"

#include <string>

class SnapshotTap {
public:
    explicit SnapshotTap(FileSnapshot* snapshot) : m_snapshot(snapshot) {}

    void fileBytes(const uint8_t* data, size_t size) {
        if (m_snapshot) {
            m_digest.update(data, size);
            m_size += size;
        }
    }
    void streamBytes(const uint8_t* data, size_t size) {
        if (m_snapshot)
            m_snapshot->stream.insert(m_snapshot->stream.end(), data, data + size);
    }
    // Completes the identity with the file's time, from `fd` or from `path`.
    void finish(int fd);
    void finish(const std::string& path);

private:
    FileSnapshot* m_snapshot;
    Sha1 m_digest;
    uint64_t m_size = 0;
};
