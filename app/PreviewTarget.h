#pragma once
// Where the tree view shows the selected node: the desktop's docking pane or
// the handheld's bar along the top. The view tells it to show nothing, then
// the node, on every selection change.

class NotesMgr;
struct NoteRecord;

class PreviewTarget {
public:
    virtual ~PreviewTarget() = default;
    // Shows the node (its template's fields from `notes`, then its body), or nothing when it is null.
    virtual void ShowNode(const NotesMgr* notes, const NoteRecord* node) = 0;
};
