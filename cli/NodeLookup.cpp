#include "cli/NodeLookup.h"

#include "core/NodeReceiver.h"

namespace {

class OneNodeReceiver : public NodeReceiver {
public:
    OneNodeReceiver(int32_t nodeId, StringPieces* body) : m_nodeId(nodeId), m_body(body) {}

    bool wantsAttachmentData() const override { return false; }

    StringPieces* bodyPieces(const NoteRecord& record) override {
        return record.nodeId == m_nodeId && !found ? m_body : nullptr;
    }

    void node(NoteRecord& record) override {
        // The first record of an id is the one a load keeps.
        if (record.nodeId == m_nodeId && !found)
            found = std::move(record);
    }

    std::optional<NoteRecord> found;

private:
    int32_t m_nodeId;
    StringPieces* m_body;
};

} // namespace

std::optional<NoteRecord> ReadOneNode(NotesMgr& mgr, const std::string& path, int32_t nodeId,
                                      StringPieces* body) {
    OneNodeReceiver receiver(nodeId, body);
    mgr.Scan(path, receiver);
    return std::move(receiver.found);
}
