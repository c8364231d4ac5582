#pragma once
// Reads the base of a three-way merge after both copies: a record equal to the
// record of its id in ours and in theirs changes nothing in the merge, so it is
// not kept, only its id listed. Most of a base is such records, and the merge
// then holds two databases instead of three.

#include "core/NodeReceiver.h"

#include <map>
#include <vector>

class NotesMgr;

class MergeBaseReceiver : public NodeReceiver {
public:
    // The kept records go into `base`; `ours` and `theirs` must outlive the receiver.
    MergeBaseReceiver(std::map<int32_t, NoteRecord>& base, const NotesMgr& ours, const NotesMgr& theirs);

    void node(NoteRecord& record) override;

    // The ids left out, ascending: what MergeTakingOurs takes as `unchangedIds`.
    std::vector<int32_t> takeUnchanged() { return std::move(m_unchanged); }

private:
    // Looks ids up walking the map beside the stream, whose ids mostly ascend.
    class Side {
    public:
        explicit Side(const NotesMgr& mgr);
        const NoteRecord* find(int32_t id);

    private:
        const std::map<int32_t, NoteRecord>& m_nodes;
        std::map<int32_t, NoteRecord>::const_iterator m_at;
    };

    bool seen(int32_t id) const;

    std::map<int32_t, NoteRecord>& m_base;
    Side m_ours;
    Side m_theirs;
    std::vector<int32_t> m_unchanged;
    bool m_any = false;
    int32_t m_highest = 0;
};
