#pragma once
// Hands the bytes a writer produces on to another sink unchanged and shows
// them to a snapshot tap: the database stream before it is enciphered.

#include "core/ByteSink.h"
#include "core/SnapshotTap.h"

class TappedSink : public ByteSink {
public:
    TappedSink(ByteSink& inner, SnapshotTap& tap) : m_inner(inner), m_tap(tap) {}

    void write(const uint8_t* data, size_t size) override {
        m_tap.streamBytes(data, size);
        m_inner.write(data, size);
    }

private:
    ByteSink& m_inner;
    SnapshotTap& m_tap;
};
