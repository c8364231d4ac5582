#pragma once
// What the database fuzzers share: reading a stream with the failures a
// damaged stream may end in, comparing two databases by what a file keeps of
// them, and the file the whole-file fuzzer makes of its input.

#include "core/DatabaseCipher.h"
#include "core/DatabaseFile.h"
#include "core/FileError.h"
#include "core/FileSink.h"
#include "core/NotesMgr.h"
#include "core/StreamReader.h"
#include "core/StrongEncipheringSink.h"
#include "core/StrongKey.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace fuzz {

// How a read ended: nothing for success, else the failure. Anything but the
// two errors of the file layer escapes and is a finding.
struct Outcome {
    bool ok = true;
    bool wrongPassword = false;
    FileError::Kind kind = FileError::Kind::Generic;

    bool operator==(const Outcome&) const = default;
};

template <typename Read> Outcome attempt(Read read) {
    Outcome outcome;
    try {
        read();
    } catch (const WrongPasswordError&) {
        outcome.ok = false;
        outcome.wrongPassword = true;
    } catch (const FileError& e) {
        outcome.ok = false;
        outcome.kind = e.kind();
    }
    return outcome;
}

inline Outcome readStream(NotesMgr& db, const uint8_t* data, size_t size) {
    return attempt([&] {
        StreamReader in(std::span<const uint8_t>(data, size));
        db.Serialize(in);
    });
}

// A time stamp as the stream keeps it: no second, no millisecond.
inline NoteTimestamp kept(NoteTimestamp t) {
    t.second = 0;
    t.millisecond = 0;
    return t;
}

inline NoteRecord kept(NoteRecord n) {
    for (NoteTimestamp* t : {&n.modifiedTime, &n.reminderTime, &n.reminderAckTime, &n.attachmentTime})
        *t = kept(*t);
    return n;
}

// The same, without the two times that a layout lacking them fills with the
// time of reading: two reads of one stream may differ there.
inline NoteRecord keptTimeless(NoteRecord n) {
    n.modifiedTime = {};
    n.reminderTime = {};
    return kept(std::move(n));
}

// True when two reads of one stream agree on everything they read from it.
inline bool sameReading(const NotesMgr& a, const NotesMgr& b) {
    if (a.dbTitle != b.dbTitle || a.dbDescription != b.dbDescription || a.nextNodeId != b.nextNodeId ||
        a.nextTemplateId != b.nextTemplateId || a.templates != b.templates ||
        a.nodes.size() != b.nodes.size())
        return false;
    for (auto ia = a.nodes.begin(), ib = b.nodes.begin(); ia != a.nodes.end(); ++ia, ++ib) {
        if (ia->first != ib->first || keptTimeless(ia->second) != keptTimeless(ib->second))
            return false;
    }
    return true;
}

// True when a file written of `a` would read back as `b`.
inline bool sameContent(const NotesMgr& a, const NotesMgr& b) {
    if (a.dbTitle != b.dbTitle || a.dbDescription != b.dbDescription || a.nextNodeId != b.nextNodeId ||
        a.nextTemplateId != b.nextTemplateId || a.templates != b.templates ||
        a.nodes.size() != b.nodes.size())
        return false;
    for (auto ia = a.nodes.begin(), ib = b.nodes.begin(); ia != a.nodes.end(); ++ia, ++ib) {
        if (ia->first != ib->first || kept(ia->second) != kept(ib->second))
            return false;
    }
    return true;
}

inline void check(bool condition) {
    if (!condition)
        std::abort();
}

// The password the whole-file fuzzer enciphers its input under.
inline constexpr char16_t kPassword[] = u"fuzzing \u00e9t\u00e9";

// A database file holding `stream` as its deciphered stream.
inline std::vector<uint8_t> fileOfStream(const uint8_t* stream, size_t size) {
    static const DatabaseCipher::Key key = DatabaseCipher::deriveKey(kPassword);
    DatabaseCipher cipher(key);
    uint32_t next = 12345;
    const std::vector<uint8_t> enciphered = cipher.encipherStream(stream, size, [&next] {
        next = next * 1103515245u + 12345u;
        return static_cast<int>((next >> 16) & 0x7FFF);
    });
    std::vector<uint8_t> file = {0x1A, 0x7F, 0x1D, 0xAF};
    file.insert(file.end(), enciphered.begin(), enciphered.end());
    return file;
}

// The key of the strongly protected files the whole-file fuzzer makes: the
// cheapest costs, a fixed salt, derived once.
inline const std::shared_ptr<const StrongKey>& strongKey() {
    static const auto key =
        std::make_shared<const StrongKey>(kPassword, StrongKey::smallestCosts(), StrongKey::Salt{});
    return key;
}

// A file sink that keeps the bytes.
class MemoryFileSink : public FileSink {
public:
    const std::string& path() const override { return m_path; }
    void write(const uint8_t* data, size_t size) override { bytes.insert(bytes.end(), data, data + size); }
    void finish() override {}
    void discard() override {}
    std::vector<uint8_t> bytes;

private:
    std::string m_path = "memory";
};

// A strongly protected file holding `stream` as its deciphered stream.
inline std::vector<uint8_t> strongFileOfStream(const uint8_t* stream, size_t size) {
    MemoryFileSink file;
    StrongEncipheringSink enciphered(*strongKey(), file);
    enciphered.write(stream, size);
    enciphered.finish();
    return std::move(file.bytes);
}

} // namespace fuzz
