#pragma once
// The tree view as the find dialog searches it: the model's items in the
// order shown (collapsed folders included), the view's selection, and
// selecting an item with the folders above it opened.

#include "dialogs/FindTarget.h"

class CNotesView;
class NotesMgr;

class TreeFindTarget : public FindTarget {
public:
    TreeFindTarget(CNotesView& view, const NotesMgr& notes);

    TreeListing FindWalkOrder() const override;
    int32_t FindSelection() const override;
    void SelectDatabaseItem() override;
    void SelectFoundNode(int32_t nodeId) override;

private:
    CNotesView& m_view;
    const NotesMgr& m_notes;
};
