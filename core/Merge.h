#pragma once
// Merging two copies of one database that were edited apart.
//
// Merge: `base` is the copy both started from. Nodes and templates are the
// same when their ids are; each field is merged on its own (a change on one
// side wins; the same change on both is taken once; different changes on both
// are a conflict: ours stays in the node and a copy of the node holding every
// field of theirs is put beside it, while a folder keeps ours and the conflict
// is only reported). Nodes new on one side are added, under a fresh id when
// the other side took theirs; a node deleted on one side and changed on the
// other is kept. The reminder acknowledgement takes the later time.
//
// MergeTwoWay: without a base, a node is the same only when its id, its
// folder and its title agree; everything else is kept from both.
//
// The merged database goes into `out` (its content replaced; password and
// recent files are set from the merge and left alone). Merging with no change
// on the other side gives ours unchanged.

#include "core/MergeReport.h"

#include <cstdint>
#include <vector>

class NotesMgr;

MergeReport Merge(const NotesMgr& base, const NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out);
// The same, moving the records of `ours` that the result holds unchanged into
// it instead of copying them: `ours` keeps only the nodes the merge did not
// take, for a caller that needs it no more. `unchangedIds` lists, ascending,
// the ids whose record is the same in base, ours and theirs and which `base`
// leaves out (a base read through MergeBaseReceiver).
MergeReport MergeTakingOurs(const NotesMgr& base, NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out,
                            const std::vector<int32_t>& unchangedIds = {});
MergeReport MergeTwoWay(const NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out);
