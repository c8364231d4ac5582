#include "cli/TreeSkeleton.h"

#include "core/NodeReceiver.h"

#include <algorithm>

namespace {

class SkeletonReceiver : public NodeReceiver {
public:
    SkeletonReceiver(std::vector<TreeEntry>& nodes, bool titles) : m_nodes(nodes), m_titles(titles) {}

    bool wantsAttachmentData() const override { return false; }

    void node(NoteRecord& record) override {
        if (!m_nodes.empty() && m_nodes.back().nodeId >= record.nodeId)
            m_ordered = false;
        TreeEntry entry;
        entry.nodeId = record.nodeId;
        entry.parentId = record.parentId;
        entry.isFolder = record.isFolder;
        entry.attachmentSize = record.attachmentSize;
        // A stored attachment always holds exactly its stored size.
        entry.attachmentBytes = static_cast<uint64_t>(std::max(record.attachmentSize, 0));
        if (m_titles)
            entry.title = record.title;
        m_nodes.push_back(std::move(entry));
    }

    // Ids in ascending order, the first record of a repeated id kept, as a load keeps them.
    void finish() {
        if (m_ordered)
            return;
        std::stable_sort(m_nodes.begin(), m_nodes.end(),
                         [](const TreeEntry& a, const TreeEntry& b) { return a.nodeId < b.nodeId; });
        m_nodes.erase(
            std::unique(m_nodes.begin(), m_nodes.end(),
                        [](const TreeEntry& a, const TreeEntry& b) { return a.nodeId == b.nodeId; }),
            m_nodes.end());
    }

private:
    std::vector<TreeEntry>& m_nodes;
    bool m_titles;
    bool m_ordered = true;
};

} // namespace

const TreeEntry* TreeSkeleton::find(int32_t nodeId) const {
    const auto it = std::lower_bound(nodes.begin(), nodes.end(), nodeId,
                                     [](const TreeEntry& e, int32_t id) { return e.nodeId < id; });
    return it != nodes.end() && it->nodeId == nodeId ? &*it : nullptr;
}

TreeSkeleton SkeletonOf(const NotesMgr& mgr) {
    TreeSkeleton skeleton;
    skeleton.nextNodeId = mgr.nextNodeId;
    skeleton.nodes.reserve(mgr.nodes.size());
    for (const auto& [id, node] : mgr.nodes) {
        TreeEntry entry;
        entry.nodeId = id;
        entry.parentId = node.parentId;
        entry.isFolder = node.isFolder;
        entry.attachmentSize = node.attachmentSize;
        entry.attachmentBytes = node.attachmentData.size();
        entry.title = node.title;
        skeleton.nodes.push_back(std::move(entry));
    }
    return skeleton;
}

TreeSkeleton ReadSkeleton(NotesMgr& mgr, const std::string& path, bool titles) {
    TreeSkeleton skeleton;
    SkeletonReceiver receiver(skeleton.nodes, titles);
    mgr.Scan(path, receiver);
    receiver.finish();
    skeleton.nextNodeId = mgr.nextNodeId;
    return skeleton;
}
