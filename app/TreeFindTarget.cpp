#include "app/TreeFindTarget.h"

#include "app/CNotesView.h"
#include "app/NotesTreeModel.h"
#include "core/NotesMgr.h"

#include <vector>

TreeFindTarget::TreeFindTarget(CNotesView& view, const NotesMgr& notes) : m_view(view), m_notes(notes) {}

TreeListing TreeFindTarget::FindWalkOrder() const {
    const NotesTreeModel& model = m_view.notesModel();
    TreeListing walk;
    walk.shown.reserve(m_notes.nodes.size());
    // Pre-order over the model, with an explicit stack so that deep trees
    // cannot exhaust the call stack.
    std::vector<std::pair<QModelIndex, int>> pending;
    for (int row = model.rowCount() - 1; row >= 0; --row)
        pending.emplace_back(model.index(row, 0), 0);
    while (!pending.empty()) {
        const auto [index, depth] = pending.back();
        pending.pop_back();
        const int32_t id = model.nodeIdAt(index);
        walk.shown.push_back({id, depth, 0, m_notes.FindNode(id)});
        for (int row = model.rowCount(index) - 1; row >= 0; --row)
            pending.emplace_back(model.index(row, 0, index), depth + 1);
    }
    return walk;
}

int32_t TreeFindTarget::FindSelection() const {
    return m_view.selectedNodeId();
}

void TreeFindTarget::SelectDatabaseItem() {
    const QModelIndex top = m_view.notesModel().index(0, 0);
    if (top.isValid())
        m_view.setCurrentIndex(top);
}

void TreeFindTarget::SelectFoundNode(int32_t nodeId) {
    const QModelIndex index = m_view.notesModel().indexOf(nodeId);
    if (!index.isValid())
        return;
    for (QModelIndex folder = index.parent(); folder.isValid(); folder = folder.parent())
        m_view.expand(folder);
    m_view.setCurrentIndex(index);
    m_view.scrollTo(index);
}
