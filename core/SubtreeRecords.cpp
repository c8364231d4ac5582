#include "core/SubtreeRecords.h"

#include "core/TreeOps.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

// The subtree's ids: the node first, then everything below it in ascending id.
std::vector<int32_t> subtreeIdsInOrder(const NotesMgr& mgr, int32_t nodeId) {
    std::vector<int32_t> ids = CollectSubtree(mgr, nodeId);
    if (ids.size() > 1)
        std::sort(ids.begin() + 1, ids.end());
    return ids;
}

bool isFolder(const NotesMgr& mgr, int32_t nodeId) {
    const NoteRecord* node = mgr.FindNode(nodeId);
    return node && node->isFolder;
}

} // namespace

std::vector<int32_t> SubtreeRecords::ids() const {
    std::vector<int32_t> result;
    result.reserve(records.size());
    for (const NoteRecord& record : records)
        result.push_back(record.nodeId);
    return result;
}

SubtreeRecords TakeSubtree(NotesMgr& mgr, int32_t nodeId) {
    SubtreeRecords taken;
    const NoteRecord* node = mgr.FindNode(nodeId);
    if (!node || node->parentId == -1)
        return taken;
    const std::vector<int32_t> ids = subtreeIdsInOrder(mgr, nodeId);
    taken.records.reserve(ids.size());
    for (int32_t id : ids) {
        auto handle = mgr.nodes.extract(id);
        taken.records.push_back(std::move(handle.mapped()));
    }
    mgr.SetModified();
    return taken;
}

bool RestoreSubtree(NotesMgr& mgr, SubtreeRecords& taken) {
    if (taken.empty() || !isFolder(mgr, taken.records.front().parentId))
        return false;
    for (const NoteRecord& record : taken.records) {
        if (mgr.FindNode(record.nodeId))
            return false;
    }
    for (NoteRecord& record : taken.records) {
        const int32_t id = record.nodeId;
        mgr.nodes.emplace_hint(mgr.nodes.end(), id, std::move(record));
    }
    taken.records.clear();
    mgr.SetModified();
    return true;
}

SubtreeCounts CountBelow(const NotesMgr& mgr, int32_t nodeId) {
    SubtreeCounts counts;
    const std::vector<int32_t> ids = CollectSubtree(mgr, nodeId);
    for (size_t i = 1; i < ids.size(); ++i)
        ++(mgr.FindNode(ids[i])->isFolder ? counts.folders : counts.notes);
    return counts;
}

bool CanDropInto(const NotesMgr& mgr, int32_t nodeId, int32_t folderId, bool move) {
    const NoteRecord* node = mgr.FindNode(nodeId);
    if (!node || node->parentId == -1 || !isFolder(mgr, folderId))
        return false;
    if (move && node->parentId == folderId)
        return false;
    // Up from the target to the root: meeting the node means the target lies
    // inside it. The walk ends after as many steps as there are nodes, so
    // parents in a loop (a damaged file) do not hold it.
    size_t steps = 0;
    for (const NoteRecord* at = mgr.FindNode(folderId); at && steps <= mgr.nodes.size();
         at = mgr.FindNode(at->parentId), ++steps) {
        if (at->nodeId == nodeId)
            return false;
        if (at->parentId == at->nodeId)
            break;
    }
    return steps <= mgr.nodes.size();
}

int32_t MoveNode(NotesMgr& mgr, int32_t nodeId, int32_t folderId) {
    if (!CanDropInto(mgr, nodeId, folderId, true))
        return -1;
    NoteRecord& node = *mgr.FindNode(nodeId);
    const int32_t previous = node.parentId;
    node.parentId = folderId;
    mgr.SetModified();
    return previous;
}

int32_t CopySubtree(NotesMgr& mgr, int32_t nodeId, int32_t folderId) {
    if (!CanDropInto(mgr, nodeId, folderId, false))
        return -1;
    const std::vector<int32_t> ids = subtreeIdsInOrder(mgr, nodeId);
    // Fresh ids in the same order as the originals, so equal titles keep their order.
    std::unordered_map<int32_t, int32_t> copyOf;
    copyOf.reserve(ids.size());
    for (int32_t id : ids)
        copyOf.emplace(id, mgr.nextNodeId++);
    for (int32_t id : ids) {
        NoteRecord copy = *mgr.FindNode(id);
        copy.nodeId = copyOf.at(id);
        copy.parentId = id == nodeId ? folderId : copyOf.at(copy.parentId);
        const int32_t copyId = copy.nodeId;
        mgr.nodes.emplace_hint(mgr.nodes.end(), copyId, std::move(copy));
    }
    mgr.SetModified();
    return copyOf.at(nodeId);
}

NoteEdit::NoteEdit(NoteRecord before, NoteRecord after)
    : m_before(std::move(before)), m_after(std::move(after)) {
    m_bodyChanged = m_before.body != m_after.body;
    m_attachmentChanged = m_before.attachmentData != m_after.attachmentData;
    // The database holds the after state: of a changed part only the before
    // version is kept here; what the edit left alone stays only in the database.
    if (m_bodyChanged)
        m_otherBody = std::move(m_before.body);
    if (m_attachmentChanged)
        m_otherAttachment = std::move(m_before.attachmentData);
    for (NoteRecord* record : {&m_before, &m_after}) {
        std::u16string().swap(record->body);
        std::vector<uint8_t>().swap(record->attachmentData);
    }
}

bool NoteEdit::Apply(NotesMgr& mgr, bool after) {
    NoteRecord* stored = mgr.FindNode(m_before.nodeId);
    if (!stored)
        return false;
    const NoteRecord& state = after ? m_after : m_before;
    const NoteTimestamp acknowledged = CompareTimestamps(stored->reminderAckTime, state.reminderAckTime) > 0
                                           ? stored->reminderAckTime
                                           : state.reminderAckTime;
    std::u16string body = std::move(stored->body);
    std::vector<uint8_t> attachment = std::move(stored->attachmentData);
    if (after != m_databaseHoldsAfter) {
        // The changed parts change places with the versions kept here.
        if (m_bodyChanged)
            std::swap(body, m_otherBody);
        if (m_attachmentChanged)
            std::swap(attachment, m_otherAttachment);
        m_databaseHoldsAfter = after;
    }
    const int32_t parentId = stored->parentId;
    *stored = state;
    stored->parentId = parentId;
    stored->body = std::move(body);
    stored->attachmentData = std::move(attachment);
    stored->reminderAckTime = acknowledged;
    mgr.SetModified();
    return true;
}
