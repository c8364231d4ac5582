#pragma once
// A new file written through another FileSink, every byte shown to a
// snapshot tap on its way: the identity's digest of the file as written.
// The bytes arrive in file order, from whichever thread writes them.

#include "core/FileSink.h"
#include "core/SnapshotTap.h"

class TappedFileSink : public FileSink {
public:
    TappedFileSink(FileSink& inner, SnapshotTap& tap) : m_inner(inner), m_tap(tap) {}

    const std::string& path() const override { return m_inner.path(); }
    void write(const uint8_t* data, size_t size) override {
        m_inner.write(data, size);
        m_tap.fileBytes(data, size);
    }
    void finish() override { m_inner.finish(); }
    void discard() override { m_inner.discard(); }

private:
    FileSink& m_inner;
    SnapshotTap& m_tap;
};
