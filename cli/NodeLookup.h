#pragma once
// One node of a database file, read without keeping the others: show looks
// at a single note of what may be a very large database.

#include "core/NotesMgr.h"
#include "core/StringPieces.h"

#include <optional>
#include <string>

// Reads the database at `path` with `mgr`'s password: the database fields
// and templates into `mgr` (its nodes stay empty), and returns the node
// `nodeId` without its attachment bytes (attachmentSize keeps the stored
// size), or nothing when the database has no such node. With `body` given,
// the node's body goes there in pieces and the record's stays empty. The
// whole file is read, so a damaged file fails as a load does.
std::optional<NoteRecord> ReadOneNode(NotesMgr& mgr, const std::string& path, int32_t nodeId,
                                      StringPieces* body = nullptr);
