// libFuzzer entry point for a read-write-read round trip: whatever stream
// reads without error must write a stream that reads back to the same
// content, and writing that again must give the same bytes (but for the
// random word at the front).

#include "fuzz/FuzzSupport.h"

#include "core/StreamWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NotesMgr first(nullptr);
    if (!fuzz::readStream(first, data, size).ok)
        return 0;
    StreamWriter written;
    first.Serialize(written);

    NotesMgr second(nullptr);
    fuzz::check(fuzz::readStream(second, written.bytes().data(), written.bytes().size()).ok);
    fuzz::check(fuzz::sameContent(first, second));

    StreamWriter rewritten;
    second.Serialize(rewritten);
    const std::vector<uint8_t>& a = written.bytes();
    const std::vector<uint8_t>& b = rewritten.bytes();
    fuzz::check(a.size() == b.size() && a.size() >= 2 && std::equal(a.begin() + 2, a.end(), b.begin() + 2));
    return 0;
}
