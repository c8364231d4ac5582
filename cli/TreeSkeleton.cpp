#include "cli/TreeSkeleton.h"

#include "core/NodeReceiver.h"

#include <algorithm>

namespace {

constexpr size_t kTitleRoom = 32;

class SkeletonReceiver : public NodeReceiver {
public:
    SkeletonReceiver(TreeSkeleton& skeleton, bool titles)
        : m_nodes(skeleton.nodes), m_titles(skeleton.titles), m_keepTitles(titles) {}

    bool wantsAttachmentData() const override { return false; }
    void expect(int32_t count) override {
        m_nodes.reserve(static_cast<size_t>(count));
        // Room for short titles; what is never filled costs nothing.
        if (m_keepTitles)
            m_titles.reserve(static_cast<size_t>(count) * kTitleRoom);
    }

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
        if (m_keepTitles) {
            entry.titleStart = m_titles.size();
            entry.titleLength = record.title.size();
            m_titles += record.title;
        }
        m_nodes.push_back(entry);
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
    std::u16string& m_titles;
    bool m_keepTitles;
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
        entry.titleStart = skeleton.titles.size();
        entry.titleLength = node.title.size();
        skeleton.titles += node.title;
        skeleton.nodes.push_back(entry);
    }
    return skeleton;
}

TreeSkeleton ReadSkeleton(NotesMgr& mgr, const std::string& path, bool titles) {
    TreeSkeleton skeleton;
    SkeletonReceiver receiver(skeleton, titles);
    mgr.Scan(path, receiver);
    receiver.finish();
    skeleton.nextNodeId = mgr.nextNodeId;
    return skeleton;
}
