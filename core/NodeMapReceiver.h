#pragma once
// The receiver of a whole load: every node goes into the map of a NotesMgr,
// the first record of an id winning.

#include "core/NodeReceiver.h"

#include <map>

class NodeMapReceiver : public NodeReceiver {
public:
    explicit NodeMapReceiver(std::map<int32_t, NoteRecord>& map) : m_map(map) {}

    void node(NoteRecord& record) override {
        // Records come in ascending id order, so the end is the usual place.
        if (m_map.empty() || m_map.rbegin()->first < record.nodeId)
            m_map.emplace_hint(m_map.end(), record.nodeId, std::move(record));
        else
            m_map.try_emplace(record.nodeId, std::move(record));
    }

private:
    std::map<int32_t, NoteRecord>& m_map;
};
