// libFuzzer entry point for the database stream reader over a deciphered
// stream. Any input: the reader must not crash, allocate beyond what the
// input can fill, or fail with anything but the file layer's errors; a read
// that fails leaves the database as it was, and the same input read again
// gives the same outcome and content.

#include "fuzz/FuzzSupport.h"

#include "core/TreeOps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NotesMgr db(nullptr);
    NewDatabase(db);
    db.dbTitle = u"before";
    const fuzz::Outcome first = fuzz::readStream(db, data, size);
    if (!first.ok) {
        fuzz::check(db.dbTitle == u"before" && db.nodes.size() == 1);
        return 0;
    }
    NotesMgr again(nullptr);
    fuzz::check(fuzz::readStream(again, data, size) == first);
    fuzz::check(fuzz::sameReading(db, again));
    return 0;
}
