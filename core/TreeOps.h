#pragma once
// The data side of the database and tree commands: what New, the tree's
// create/edit/delete/copy/cut/paste commands and the template editor do to a
// NotesMgr. Windows ask the questions and show the results; the effects on the
// data are decided here, where tests reach them without a window.

#include "core/NotesMgr.h"

#include <optional>
#include <vector>

// The document's clipboard slot: one copied note, or none.
using NoteClipboard = std::optional<NoteRecord>;

// New database: reset, title "Untitled", the root (id 0) and the built-in templates.
void NewDatabase(NotesMgr& mgr);

// A fresh record for the New Folder / New Note commands; a note gets `welcomeBody`.
NoteRecord MakeNewNodeRecord(bool folder, const std::u16string& welcomeBody);

// The parent a new node goes under when `selectedId` is selected: the node
// itself for a folder or the root, the note's parent for a note, the root when
// nothing is selected (-1); -1 when the selected node is gone.
int32_t ParentForNewNode(const NotesMgr& mgr, int32_t selectedId);

// Stores an edited new record under the parent chosen for `selectedId`; every
// field of the record but nodeId and parentId is kept. Sets modified. Returns
// the new id, or -1 when the selected node is gone (nothing is created then).
int32_t CreateNodeFromRecord(NotesMgr& mgr, int32_t selectedId, const NoteRecord& edited);

// Writes an edited copy back into its stored node. A changed reminder time (to
// the minute), repeat kind or repeat days clears the acknowledgement so the
// changed reminder can fire again. Sets modified. False when the node is gone.
bool ApplyEditedNode(NotesMgr& mgr, NoteRecord edited);

// The ids a Delete of `nodeId` removes, in removal order: the node first, then
// its descendants in ascending id, each child folder's own subtree before the
// child folder itself.
std::vector<int32_t> CollectSubtree(const NotesMgr& mgr, int32_t nodeId);
// Deletes the node and everything below it (never the root). Sets modified.
// Returns the erased ids.
std::vector<int32_t> DeleteSubtree(NotesMgr& mgr, int32_t nodeId);

// Command states of the tree commands for the selected node (-1: none).
bool CanCopyOrCut(const NotesMgr& mgr, int32_t selectedId);
bool CanPaste(const NotesMgr& mgr, int32_t selectedId, const NoteClipboard& clipboard);
bool CanDelete(const NotesMgr& mgr, int32_t selectedId);

// Copy: the clipboard gets a full copy of the selected note. False for a folder.
bool CopyNote(const NotesMgr& mgr, int32_t noteId, NoteClipboard& clipboard);
// Cut: copy, then erase the note and set modified. False for a folder.
bool CutNote(NotesMgr& mgr, int32_t noteId, NoteClipboard& clipboard);
// Paste: a new note from the clipboard under the selected folder, every field
// but nodeId and parentId kept. Sets modified. Returns the new id or -1.
int32_t PasteNote(NotesMgr& mgr, int32_t folderId, const NoteClipboard& clipboard);

// The first note in ascending id that uses the template (folders don't count).
const NoteRecord* FindTemplateUser(const NotesMgr& mgr, int32_t templateId);
// Whether a template other than `exceptTemplateId` (-1: none) already has
// `name`, letter case ignored; such a name could not be told apart on the
// data page.
bool IsTemplateNameTaken(const NotesMgr& mgr, std::u16string_view name, int32_t exceptTemplateId);
// Removes every template with that id and sets modified.
void RemoveTemplate(NotesMgr& mgr, int32_t templateId);

// The reminder due test: when the note is due at `now` its reminderAckTime
// becomes `now` and the result is true; otherwise the note is unchanged.
bool IsReminderDue(NoteRecord& note, const NoteTimestamp& now);
