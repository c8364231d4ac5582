#pragma once
// Databases a command has done with just before the companion ends: their
// secrets are wiped where they lie, and their memory goes back to the system
// with the process, whole, instead of a record at a time (for 100,000 notes
// that freeing takes about as long as writing the file).

#include <memory>

class NotesMgr;

// Wipes `mgr` in place and keeps it, never freed, until the process ends.
// Safe to call from several threads.
void KeepUntilExit(std::unique_ptr<NotesMgr> mgr);
