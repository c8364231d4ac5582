#include "cli/NodeLookup.h"

#include "core/NodeReceiver.h"

namespace {

class OneNodeReceiver : public NodeReceiver {
public:
    explicit OneNodeReceiver(int32_t nodeId) : m_nodeId(nodeId) {}

    bool wantsAttachmentData() const override { return false; }

    void node(NoteRecord& record) override {
        // The first record of an id is the one a load keeps.
        if (record.nodeId == m_nodeId && !found)
            found = std::move(record);
    }

    std::optional<NoteRecord> found;

private:
    int32_t m_nodeId;
};

} // namespace

std::optional<NoteRecord> ReadOneNode(NotesMgr& mgr, const std::string& path, int32_t nodeId) {
    OneNodeReceiver receiver(nodeId);
    mgr.Scan(path, receiver);
    return std::move(receiver.found);
}
