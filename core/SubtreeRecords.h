#pragma once
// Record-level pieces of the undoable tree changes: a subtree taken out of the
// database and put back with the same ids, moves and deep copies of a node,
// and the before/after pair of an edited note. Each keeps only the records it
// needs, never a copy of the database.

#include "core/NotesMgr.h"

#include <cstdint>
#include <vector>

// The records of a subtree taken out of the database: the subtree's root
// first, then every node below it, in ascending id.
struct SubtreeRecords {
    std::vector<NoteRecord> records;

    bool empty() const { return records.empty(); }
    int32_t rootId() const { return records.empty() ? -1 : records.front().nodeId; }
    std::vector<int32_t> ids() const;
};

// Takes the node and everything below it out of the database (never the
// root). Sets modified. Empty when there is nothing to take.
SubtreeRecords TakeSubtree(NotesMgr& mgr, int32_t nodeId);
// Puts taken records back under the same ids and sets modified. Refused, with
// nothing changed, when the subtree's parent is gone or is not a folder, or an
// id is in use again.
bool RestoreSubtree(NotesMgr& mgr, SubtreeRecords& taken);

// How many notes and folders lie below a node (the node itself not counted).
struct SubtreeCounts {
    int notes = 0;
    int folders = 0;
};
SubtreeCounts CountBelow(const NotesMgr& mgr, int32_t nodeId);

// True when `nodeId` may go into `folderId`: the node is not the root, the
// target is a folder (or the database item) and is neither the node itself
// nor anything below it. A move also needs a target other than the node's
// own folder.
bool CanDropInto(const NotesMgr& mgr, int32_t nodeId, int32_t folderId, bool move);
// Moves a node (with everything below it) into the folder. Sets modified.
// Returns the node's previous parent, or -1 when the move is refused.
int32_t MoveNode(NotesMgr& mgr, int32_t nodeId, int32_t folderId);
// Copies a node with every field into the folder; a folder is copied with
// everything below it, under fresh ids. Sets modified. Returns the copy's id,
// or -1 when refused.
int32_t CopySubtree(NotesMgr& mgr, int32_t nodeId, int32_t folderId);

// A note's record before and after an edit, made once the edit is in the
// database. The body and the attachment bytes, the large parts, are kept
// only when the edit changed them, and then only the version the database
// does not hold at the time.
class NoteEdit {
public:
    NoteEdit(NoteRecord before, NoteRecord after);

    int32_t nodeId() const { return m_before.nodeId; }
    // Writes the before or the after state into the stored node and sets
    // modified. A reminder acknowledged since stays acknowledged: the later
    // acknowledgement wins. False when the node is gone.
    bool Apply(NotesMgr& mgr, bool after);

private:
    NoteRecord m_before; // without body and attachment bytes
    NoteRecord m_after;  // the same
    bool m_bodyChanged = false;
    bool m_attachmentChanged = false;
    bool m_databaseHoldsAfter = true;
    std::u16string m_otherBody;
    std::vector<uint8_t> m_otherAttachment;
};
