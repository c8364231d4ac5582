#include "cli/KeepUntilExit.h"

#include "core/NotesMgr.h"

#include <mutex>
#include <vector>

void KeepUntilExit(std::unique_ptr<NotesMgr> mgr) {
    if (!mgr)
        return;
    mgr->WipeInPlace();
    static std::mutex lock;
    // Never destroyed, so that nothing frees them at exit either; still
    // reachable to the end, which leak checkers accept.
    static auto* const kept = new std::vector<std::unique_ptr<NotesMgr>>();
    const std::lock_guard guard(lock);
    kept->push_back(std::move(mgr));
}
