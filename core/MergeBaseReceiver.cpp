#include "core/MergeBaseReceiver.h"

#include "core/NotesMgr.h"

#include <algorithm>

MergeBaseReceiver::Side::Side(const NotesMgr& mgr) : m_nodes(mgr.nodes), m_at(mgr.nodes.begin()) {}

const NoteRecord* MergeBaseReceiver::Side::find(int32_t id) {
    if (m_at != m_nodes.begin() && std::prev(m_at)->first >= id)
        m_at = m_nodes.lower_bound(id); // an id out of order: looked up afresh
    while (m_at != m_nodes.end() && m_at->first < id)
        ++m_at;
    return m_at != m_nodes.end() && m_at->first == id ? &m_at->second : nullptr;
}

MergeBaseReceiver::MergeBaseReceiver(std::map<int32_t, NoteRecord>& base, const NotesMgr& ours,
                                     const NotesMgr& theirs)
    : m_base(base), m_ours(ours), m_theirs(theirs) {}

// Whether a record of this id came before; the first record of an id counts.
bool MergeBaseReceiver::seen(int32_t id) const {
    if (!m_any || id > m_highest)
        return false;
    return m_base.count(id) != 0 || std::binary_search(m_unchanged.begin(), m_unchanged.end(), id);
}

void MergeBaseReceiver::node(NoteRecord& record) {
    const int32_t id = record.nodeId;
    if (seen(id))
        return;
    m_highest = m_any ? std::max(m_highest, id) : id;
    m_any = true;
    const NoteRecord* ours = m_ours.find(id);
    const NoteRecord* theirs = m_theirs.find(id);
    if (ours && theirs && *ours == record && *theirs == record) {
        // Kept in ascending order, so that the merge can walk it beside the maps.
        if (m_unchanged.empty() || m_unchanged.back() < id)
            m_unchanged.push_back(id);
        else
            m_unchanged.insert(std::lower_bound(m_unchanged.begin(), m_unchanged.end(), id), id);
        return;
    }
    const bool last = m_base.empty() || m_base.rbegin()->first < id;
    m_base.emplace_hint(last ? m_base.end() : m_base.lower_bound(id), id, std::move(record));
}
