// Loading and saving strongly protected files: the header, then the stream in
// authenticated pieces (see StrongHeader).

#include "core/FileError.h"
#include "core/FileSink.h"
#include "core/NotesMgr.h"
#include "core/ReadUpTo.h"
#include "core/SnapshotTap.h"
#include "core/StreamReader.h"
#include "core/StreamWriter.h"
#include "core/StrongDecipheringSource.h"
#include "core/StrongEncipheringSink.h"
#include "core/StrongHeader.h"
#include "core/TappedFileSink.h"
#include "core/TappedSink.h"
#include "core/TappedSource.h"
#include "core/Texts.h"

#include <algorithm>
#include <stdexcept>

void NotesMgr::ScanStrong(int fd, uint64_t fileSize, const uint8_t* lead, size_t leadSize,
                          const std::string& path, NodeReceiver& receiver, SnapshotTap& tap) {
    std::array<uint8_t, StrongHeader::size> bytes{};
    std::copy_n(lead, leadSize, bytes.begin());
    const size_t rest = bytes.size() - leadSize;
    if (ReadUpTo(fd, bytes.data() + leadSize, rest, path) < rest || fileSize < bytes.size())
        throw FileError(FileError::Kind::Damaged, path, "the header is incomplete");
    // The costs are checked before anything is allocated for them.
    const StrongHeader header = StrongHeader::parse(bytes, path);
    tap.fileBytes(bytes.data(), bytes.size());
    // No strong file is written without a password: no key to derive.
    if (password.empty())
        throw WrongPasswordError();
    std::shared_ptr<const StrongKey> key = strongKey;
    if (!key || !key->fits(password, header.costs, header.salt))
        key = std::make_shared<const StrongKey>(password, header.costs, header.salt);

    StrongDecipheringSource source(fd, fileSize - bytes.size(), *key, header, path);
    source.setTap(&tap);
    TappedSource plain(source, tap);
    StreamReader reader(plain);
    try {
        Serialize(reader, receiver);
    } catch (const FileError& e) {
        // The stream ending early in a file cut short is the file's damage:
        // the pieces left tell which it is.
        if (e.kind() == FileError::Kind::EndOfFile)
            source.finish();
        throw;
    }
    source.finish();
    protection = Protection::Strong;
    strongCosts = header.costs;
    strongKey = std::move(key);
}

void NotesMgr::WriteStrong(FileSink& file, SnapshotTap& tap) {
    PrepareStrongKey();
    TappedFileSink tappedFile(file, tap);
    StrongEncipheringSink enciphered(*strongKey, tappedFile);
    TappedSink plain(enciphered, tap);
    StreamWriter out(plain);
    Serialize(out);
    enciphered.finish();
}

void NotesMgr::PrepareStrongKey() {
    if (password.empty())
        throw std::invalid_argument(Texts::strongNeedsPassword);
    if (!StrongKeyFits())
        strongKey = std::make_shared<const StrongKey>(password, strongCosts);
}

void NotesMgr::TakeProtection(NotesMgr& other) {
    protection = other.protection;
    strongCosts = other.strongCosts;
    strongKey = std::move(other.strongKey);
}
