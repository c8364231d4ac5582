#include "core/Merge.h"

#include "core/ConcealedValues.h"
#include "core/MergeFields.h"
#include "core/NotesMgr.h"
#include "core/Texts.h"
#include "core/TreeOrder.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace {

using namespace MergeFields;

const std::vector<int32_t> kNoIds;
using NodeIterator = std::map<int32_t, NoteRecord>::const_iterator;

std::u16string withArgument(std::u16string pattern, const std::u16string& value) {
    const auto at = pattern.find(u"%1");
    if (at != std::u16string::npos)
        pattern.replace(at, 2, value);
    return pattern;
}

const TemplateRecord* findTemplate(const std::vector<TemplateRecord>& list, int32_t id) {
    for (const TemplateRecord& t : list)
        if (t.templateId == id)
            return &t;
    return nullptr;
}

std::u16string templateValue(const TemplateRecord& t, int field) {
    return field == FieldTemplateName ? t.name : t.captions[field - FieldFirstCaption];
}

void setTemplateValue(TemplateRecord& t, int field, const std::u16string& value) {
    if (field == FieldTemplateName)
        t.name = value;
    else
        t.captions[field - FieldFirstCaption] = value;
}

std::u16string pathOf(const NotesMgr& mgr, int32_t id) {
    std::vector<const std::u16string*> titles;
    for (const NoteRecord* node = mgr.FindNode(id); node && titles.size() <= mgr.nodes.size();
         node = mgr.FindNode(node->parentId))
        titles.push_back(&node->title);
    std::u16string path;
    for (auto it = titles.rbegin(); it != titles.rend(); ++it) {
        if (!path.empty())
            path += u" / ";
        path += **it;
    }
    return path;
}

// The nodes of the deleted entries (or of all others) numbered in the order
// the tree of `mgr` lists them; the entries name few of its nodes.
std::unordered_map<int32_t, size_t> treeOrder(const NotesMgr& mgr, const std::vector<MergeEntry>& entries,
                                              bool deleted) {
    std::vector<int32_t> ids;
    for (const MergeEntry& entry : entries)
        if (entry.subject == MergeSubject::Node && (entry.event == MergeEvent::Deleted) == deleted)
            ids.push_back(entry.id);
    std::unordered_map<int32_t, size_t> order;
    for (int32_t id : SortInTreeOrder(mgr, std::move(ids)))
        order.emplace(id, order.size());
    return order;
}

class Merger {
public:
    Merger(const NotesMgr* base, const NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out)
        : m_base(base), m_ours(ours), m_theirs(theirs), m_out(out) {}
    // The records of ours that go into the result unchanged are moved there
    // instead of copied; `ours` must be the database merged as ours.
    Merger(const NotesMgr& base, NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out,
           const std::vector<int32_t>& unchanged)
        : m_base(&base), m_ours(ours), m_theirs(theirs), m_out(out), m_unchanged(unchanged), m_take(&ours) {}

    MergeReport run();

private:
    int32_t mapNode(int32_t id) const {
        const auto it = m_nodeIds.find(id);
        return it == m_nodeIds.end() ? id : it->second;
    }
    int32_t mapTemplate(int32_t id) const {
        const auto it = m_templateIds.find(id);
        return it == m_templateIds.end() ? id : it->second;
    }
    // A node of theirs with its ids in the merged database's numbering.
    NoteRecord mapped(const NoteRecord& theirs) const {
        NoteRecord node = theirs;
        node.nodeId = mapNode(theirs.nodeId);
        node.parentId = theirs.parentId < 0 ? theirs.parentId : mapNode(theirs.parentId);
        node.templateId = mapTemplate(theirs.templateId);
        return node;
    }
    const NoteRecord* baseNode(int32_t id) const { return m_base ? m_base->FindNode(id) : nullptr; }
    void put(const NoteRecord& node) { m_out.nodes.emplace_hint(m_out.nodes.end(), node.nodeId, node); }
    // A node of ours that goes into the result as it is.
    void keep(const NoteRecord& ours) {
        if (m_take)
            m_kept.push_back(ours.nodeId);
        else
            put(ours);
    }
    MergeEntry& note(MergeEvent event, MergeSubject subject, int32_t id) {
        MergeEntry& entry = m_report.entries.emplace_back();
        entry.event = event;
        entry.subject = subject;
        entry.id = id;
        return entry;
    }

    void planTheirsIds();
    bool sameNewNode(const NoteRecord& ours, const NoteRecord& theirs) const;
    void mergeNodes();
    void mergeOurs(const NoteRecord& ours, const NoteRecord* base, const NoteRecord* theirs);
    NodeIterator keepUnchanged(NodeIterator at, int32_t last);
    void placeDeletedNodes();
    void takeKeptNodes();
    bool nodesChanged() const;
    void mergeNode(const NoteRecord* base, const NoteRecord& ours, const NoteRecord& theirs);
    void restoreMissingParents();
    bool breakLoops();
    void mergeTemplates();
    void mergeTemplate(const TemplateRecord* base, const TemplateRecord& ours, const TemplateRecord& theirs);
    void keepUsedTemplates();
    void mergeDatabaseFields();
    void finish();

    const NotesMgr* m_base;
    const NotesMgr& m_ours;
    const NotesMgr& m_theirs;
    NotesMgr& m_out;
    // Ids whose record is the same in base, ours and theirs, left out of the base.
    const std::vector<int32_t>& m_unchanged = kNoIds;
    MergeReport m_report;
    // Ids of theirs that are numbered differently in the merged database.
    std::unordered_map<int32_t, int32_t> m_nodeIds;
    std::unordered_map<int32_t, int32_t> m_templateIds;
    // Ids new on both sides (or, without a base, present on both) that name the same node.
    std::unordered_set<int32_t> m_sameNodes;
    // Nodes whose folder was taken from theirs; a loop is broken there.
    std::unordered_set<int32_t> m_movedByTheirs;
    // Templates deleted on one side, restored should a merged node still use one.
    std::vector<TemplateRecord> m_deletedTemplates;
    int32_t m_freeNode = 0;
    int32_t m_freeTemplate = 0;
    // Set when the records of ours are taken: the ids kept as they were, in
    // ascending order, moved into the result once every node is merged.
    NotesMgr* m_take = nullptr;
    std::vector<int32_t> m_kept;
    // The ids of ours not kept, ascending.
    std::vector<int32_t> m_left;
    // A node was given another folder after it was merged.
    bool m_reparented = false;
};

MergeReport Merger::run() {
    m_report.twoWay = m_base == nullptr;
    for (const NotesMgr* mgr : {m_base, &m_ours, &m_theirs}) {
        if (!mgr)
            continue;
        m_freeNode = std::max(m_freeNode, mgr->nextNodeId);
        if (!mgr->nodes.empty())
            m_freeNode = std::max(m_freeNode, mgr->nodes.rbegin()->first + 1);
        m_freeTemplate = std::max(m_freeTemplate, mgr->nextTemplateId);
        for (const TemplateRecord& t : mgr->templates)
            m_freeTemplate = std::max(m_freeTemplate, t.templateId + 1);
    }
    m_out.Reset();
    m_out.randomWord = m_ours.randomWord;
    m_out.checkWord = m_ours.checkWord;
    m_out.formatVersion = m_ours.formatVersion;
    m_out.modified = m_ours.modified;
    mergeTemplates();
    planTheirsIds();
    mergeNodes();
    restoreMissingParents();
    for (size_t round = 0; round <= m_out.nodes.size() && breakLoops(); ++round) {
    }
    keepUsedTemplates();
    mergeDatabaseFields();
    finish();
    return std::move(m_report);
}

bool Merger::sameNewNode(const NoteRecord& ours, const NoteRecord& theirs) const {
    if (m_base)
        return ours == theirs;
    if (ours.parentId < 0 && theirs.parentId < 0)
        return true; // the roots
    return ours.isFolder == theirs.isFolder && ours.title == theirs.title && theirs.parentId >= 0 &&
           ours.parentId == mapNode(theirs.parentId);
}

// Walks a list of ascending ids beside a walk over a node map.
class IdCursor {
public:
    explicit IdCursor(const std::vector<int32_t>& ids) : m_at(ids.begin()), m_end(ids.end()) {}
    // Whether `id` is listed; ids must come in ascending order.
    bool has(int32_t id) {
        while (m_at != m_end && *m_at < id)
            ++m_at;
        return m_at != m_end && *m_at == id;
    }
    // The last id of the run of consecutive listed ids from the one has()
    // just found: no other id can lie inside the run.
    int32_t runEnd() {
        for (auto next = std::next(m_at); next != m_end && *next - 1 == *m_at; ++next)
            m_at = next;
        return *m_at;
    }

private:
    std::vector<int32_t>::const_iterator m_at;
    std::vector<int32_t>::const_iterator m_end;
};

// Walks a node map in ascending id beside a walk over another one.
class NodeCursor {
public:
    explicit NodeCursor(const NotesMgr* mgr) {
        if (mgr)
            m_nodes = &mgr->nodes, m_at = mgr->nodes.begin(), m_end = mgr->nodes.end();
    }
    // The node with `id`; ids must come in ascending order. A long way ahead
    // (the other walk skipped a run of ids) is looked up rather than walked.
    const NoteRecord* find(int32_t id) {
        constexpr int kWalk = 16;
        for (int step = 0; m_at != m_end && m_at->first < id; ++step) {
            if (step == kWalk) {
                m_at = m_nodes->lower_bound(id);
                break;
            }
            ++m_at;
        }
        return m_at != m_end && m_at->first == id ? &m_at->second : nullptr;
    }

private:
    const std::map<int32_t, NoteRecord>* m_nodes = nullptr;
    std::map<int32_t, NoteRecord>::const_iterator m_at{};
    std::map<int32_t, NoteRecord>::const_iterator m_end{};
};

// Gives every node of theirs that is not the node of ours with its id a fresh
// id. Without a base the parents are decided first, so a child is the same
// only inside the same folder.
void Merger::planTheirsIds() {
    auto plan = [this](const NoteRecord& theirs) {
        if (baseNode(theirs.nodeId))
            return;
        const NoteRecord* ours = m_ours.FindNode(theirs.nodeId);
        if (!ours)
            return;
        if (sameNewNode(*ours, theirs))
            m_sameNodes.insert(theirs.nodeId);
        else
            m_nodeIds[theirs.nodeId] = m_freeNode++;
    };
    if (m_base) {
        NodeCursor bases(m_base);
        IdCursor unchanged(m_unchanged);
        const auto& nodes = m_theirs.nodes;
        for (auto at = nodes.begin(); at != nodes.end();) {
            if (unchanged.has(at->first)) {
                at = nodes.upper_bound(unchanged.runEnd());
                continue;
            }
            if (!bases.find(at->first))
                plan(at->second);
            ++at;
        }
        return;
    }
    const TreeListing listing = ListTree(m_theirs);
    for (const ListedNode& shown : listing.shown)
        plan(*shown.record);
    for (int32_t id : listing.unreachable)
        plan(*m_theirs.FindNode(id));
}

// A node of ours with the base's and theirs of its id.
void Merger::mergeOurs(const NoteRecord& ours, const NoteRecord* base, const NoteRecord* theirs) {
    if (base && theirs) {
        mergeNode(base, ours, *theirs);
    } else if (base) {
        // Deleted in theirs: gone when ours left it as it was.
        if (ours == *base) {
            note(MergeEvent::Deleted, MergeSubject::Node, ours.nodeId);
            return;
        }
        keep(ours);
        note(MergeEvent::Kept, MergeSubject::Node, ours.nodeId).field = Texts::Merging::keptNode;
    } else if (theirs && m_sameNodes.count(ours.nodeId)) {
        mergeNode(nullptr, ours, *theirs);
    } else {
        keep(ours);
    }
}

// The nodes of ours from `at` to id `last`, a run of unchanged ids; returns
// the node after them.
NodeIterator Merger::keepUnchanged(NodeIterator at, int32_t last) {
    if (!m_take) {
        for (; at != m_ours.nodes.end() && at->first <= last; ++at)
            keep(at->second);
        return at;
    }
    for (int64_t id = at->first; id <= last; ++id)
        m_kept.push_back(static_cast<int32_t>(id));
    return m_ours.nodes.upper_bound(last);
}

void Merger::mergeNodes() {
    NodeCursor bases(m_base), theirsNodes(&m_theirs);
    IdCursor unchanged(m_unchanged);
    for (auto at = m_ours.nodes.begin(); at != m_ours.nodes.end();) {
        const int32_t id = at->first;
        if (unchanged.has(id)) {
            at = keepUnchanged(at, unchanged.runEnd());
            continue;
        }
        const size_t kept = m_kept.size();
        mergeOurs(at->second, bases.find(id), theirsNodes.find(id));
        if (m_take && m_kept.size() == kept)
            m_left.push_back(id);
        ++at;
    }
    NodeCursor theirBases(m_base), oursNodes(&m_ours);
    IdCursor theirsUnchanged(m_unchanged);
    const auto& theirsMap = m_theirs.nodes;
    for (auto at = theirsMap.begin(); at != theirsMap.end();) {
        const auto& [id, theirs] = *at;
        if (theirsUnchanged.has(id)) {
            // In ours, and in the base as they are: nothing to add.
            at = theirsMap.upper_bound(theirsUnchanged.runEnd());
            continue;
        }
        ++at;
        const NoteRecord* base = theirBases.find(id);
        if (oursNodes.find(id) && (base || m_sameNodes.count(id)))
            continue;
        if (base && theirs == *base)
            continue; // deleted in ours, unchanged in theirs
        const NoteRecord node = mapped(theirs);
        put(node);
        if (base)
            note(MergeEvent::Kept, MergeSubject::Node, node.nodeId).field = Texts::Merging::keptNode;
        else
            note(MergeEvent::Added, MergeSubject::Node, node.nodeId);
    }
    placeDeletedNodes();
    takeKeptNodes();
}

// A deleted node is shown where it was in ours, which the nodes taken from
// ours leave; so it is placed before they go.
void Merger::placeDeletedNodes() {
    std::unordered_map<int32_t, size_t> order = treeOrder(m_ours, m_report.entries, true);
    for (MergeEntry& entry : m_report.entries) {
        if (entry.event != MergeEvent::Deleted || entry.subject != MergeSubject::Node)
            continue;
        entry.where = pathOf(m_ours, entry.id);
        entry.order = order[entry.id];
    }
}

void Merger::takeKeptNodes() {
    if (!m_take)
        return;
    if (m_left.size() + m_out.nodes.size() < m_kept.size()) {
        // Most of ours is kept: its whole map becomes the result, and only
        // the nodes it leaves and those merged so far move.
        std::map<int32_t, NoteRecord> merged;
        merged.swap(m_out.nodes);
        m_out.nodes.swap(m_take->nodes);
        for (const int32_t id : m_left)
            m_take->nodes.insert(m_take->nodes.end(), m_out.nodes.extract(id));
        for (auto at = merged.begin(); at != merged.end();)
            m_out.nodes.insert(merged.extract(at++));
        return;
    }
    auto from = m_take->nodes.begin();
    auto before = m_out.nodes.begin();
    for (const int32_t id : m_kept) {
        while (from->first < id)
            ++from;
        while (before != m_out.nodes.end() && before->first < id)
            ++before;
        m_out.nodes.insert(before, m_take->nodes.extract(from++));
    }
}

// Whether the merged nodes differ from ours. With the records of ours taken,
// those moved over are equal unless a folder was changed after, and the
// nodes left in ours are compared.
bool Merger::nodesChanged() const {
    if (!m_take)
        return m_out.nodes != m_ours.nodes;
    if (m_reparented || m_out.nodes.size() != m_kept.size() + m_ours.nodes.size())
        return true;
    for (const auto& [id, node] : m_ours.nodes) {
        const NoteRecord* merged = m_out.FindNode(id);
        if (!merged || *merged != node)
            return true;
    }
    return false;
}

// A node on both sides, field by field; without a base every difference but
// the acknowledgement and the modification time is a conflict.
void Merger::mergeNode(const NoteRecord* base, const NoteRecord& ours, const NoteRecord& theirsStored) {
    if (base && theirsStored == *base) {
        keep(ours);
        return;
    }
    const NoteRecord theirs = mapped(theirsStored);
    NoteRecord merged = ours;
    std::vector<int> taken;
    std::vector<int> conflicts;
    for (int field = 0; field < NodeFieldCount; ++field) {
        if (sameField(ours, theirs, field) || (base && sameField(*base, theirs, field)))
            continue;
        if (base && sameField(*base, ours, field)) {
            takeField(merged, theirs, field);
            taken.push_back(field);
        } else {
            conflicts.push_back(field);
        }
    }
    if (CompareTimestamps(theirs.reminderAckTime, ours.reminderAckTime) > 0)
        merged.reminderAckTime = theirs.reminderAckTime;
    if (CompareTimestamps(theirs.modifiedTime, ours.modifiedTime) > 0)
        merged.modifiedTime = theirs.modifiedTime;
    if (std::find(taken.begin(), taken.end(), FieldParent) != taken.end())
        m_movedByTheirs.insert(merged.nodeId);
    put(merged);
    if (!taken.empty()) {
        MergeEntry& entry = note(MergeEvent::Changed, MergeSubject::Node, merged.nodeId);
        for (int field : taken)
            entry.field += (entry.field.empty() ? u"" : u", ") + fieldName(m_ours, ours, field);
    }
    if (conflicts.empty())
        return;
    int32_t copyId = -1;
    std::u16string copyTitle;
    if (!ours.isFolder) {
        NoteRecord copy = theirs;
        copy.nodeId = m_freeNode++;
        copy.title = withArgument(Texts::Merging::otherCopy, theirs.title);
        const bool moved = std::find(conflicts.begin(), conflicts.end(), FieldParent) != conflicts.end();
        copy.parentId = moved ? theirs.parentId : merged.parentId;
        copyId = copy.nodeId;
        copyTitle = copy.title;
        put(copy);
    }
    for (int field : conflicts) {
        MergeEntry& entry = note(MergeEvent::Conflict, MergeSubject::Node, merged.nodeId);
        entry.field = fieldName(m_ours, ours, field);
        const bool valueField = field >= FieldFirstValue && field < FieldReminderOn;
        entry.concealed = valueField && (IsConcealedCaption(fieldCaption(m_ours, ours, field)) ||
                                         IsConcealedCaption(fieldCaption(m_theirs, theirsStored, field)));
        if (!entry.concealed) {
            entry.ours = valueText(m_ours, ours, field);
            entry.theirs = valueText(m_theirs, theirsStored, field);
        }
        entry.copyId = copyId;
        entry.copyTitle = copyTitle;
    }
}

// A folder deleted on one side stays when the merge keeps something inside
// it: it is restored, ours where ours has it, and reported.
void Merger::restoreMissingParents() {
    std::unordered_map<int32_t, int32_t> theirsOf; // merged id -> theirs id
    for (const auto& [from, to] : m_nodeIds)
        theirsOf[to] = from;
    std::vector<int32_t> orphans;
    // Most nodes share a few folders: a folder found is remembered (by its
    // id's last bits), so that it is not looked up for each of its nodes.
    std::vector<int32_t> found(4096, -1);
    for (const auto& [id, node] : m_out.nodes) {
        const int32_t parentId = node.parentId;
        if (parentId < 0)
            continue;
        int32_t& slot = found[static_cast<uint32_t>(parentId) % found.size()];
        if (slot == parentId)
            continue;
        if (m_out.FindNode(parentId))
            slot = parentId;
        else
            orphans.push_back(id);
    }
    for (int32_t id : orphans) {
        for (int32_t child = id;;) {
            const int32_t parentId = m_out.nodes.at(child).parentId;
            if (parentId < 0 || m_out.FindNode(parentId))
                break;
            const auto renamed = theirsOf.find(parentId);
            const int32_t theirsId = renamed != theirsOf.end() ? renamed->second : parentId;
            const NoteRecord* theirs = m_theirs.FindNode(theirsId);
            if (theirs && mapNode(theirsId) != parentId)
                theirs = nullptr;
            const NoteRecord* ours = renamed == theirsOf.end() ? m_ours.FindNode(parentId) : nullptr;
            const NoteRecord* base = baseNode(parentId);
            if (ours && ours->isFolder)
                m_out.nodes.emplace(parentId, *ours);
            else if (theirs && theirs->isFolder)
                m_out.nodes.emplace(parentId, mapped(*theirs));
            else if (base && base->isFolder)
                m_out.nodes.emplace(parentId, *base);
            else {
                m_out.nodes.at(child).parentId = 0; // nothing to restore: the root takes it
                m_reparented = m_reparented || parentId != 0;
                break;
            }
            note(MergeEvent::Kept, MergeSubject::Node, parentId).field = Texts::Merging::keptFolder;
            std::erase_if(m_report.entries, [&](const MergeEntry& e) {
                return e.event == MergeEvent::Deleted && e.subject == MergeSubject::Node && e.id == parentId;
            });
            child = parentId;
        }
    }
}

// Moves taken from both sides can close a loop of folders (each side put one
// folder into the other). Every such loop holds a move of theirs, since each
// side's own tree has none; that move is undone and reported.
bool Merger::breakLoops() {
    for (const int32_t start : m_movedByTheirs) {
        NoteRecord& node = m_out.nodes.at(start);
        int32_t id = node.parentId;
        for (size_t steps = 0; id >= 0 && id != start && steps <= m_out.nodes.size(); ++steps) {
            const NoteRecord* parent = m_out.FindNode(id);
            id = parent ? parent->parentId : -1;
        }
        if (id != start)
            continue;
        MergeEntry& entry = note(MergeEvent::Conflict, MergeSubject::Node, start);
        entry.field = Texts::Merging::fieldNames[FieldParent];
        entry.theirs = valueText(m_out, node, FieldParent);
        const NoteRecord* ours = m_ours.FindNode(start);
        node.parentId = ours ? ours->parentId : 0;
        entry.ours = valueText(m_out, node, FieldParent);
        m_movedByTheirs.erase(start);
        return true;
    }
    return false;
}

void Merger::mergeTemplates() {
    for (const TemplateRecord& ours : m_ours.templates) {
        const TemplateRecord* base = m_base ? findTemplate(m_base->templates, ours.templateId) : nullptr;
        const TemplateRecord* theirs = findTemplate(m_theirs.templates, ours.templateId);
        if (base && !theirs) {
            if (ours == *base) {
                m_deletedTemplates.push_back(ours);
                note(MergeEvent::Deleted, MergeSubject::Template, ours.templateId).where = ours.name;
            } else {
                m_out.templates.push_back(ours);
                note(MergeEvent::Kept, MergeSubject::Template, ours.templateId).field =
                    Texts::Merging::keptNode;
            }
        } else if (theirs && (base || theirs->name == ours.name)) {
            mergeTemplate(base, ours, *theirs);
        } else {
            if (theirs)
                m_templateIds[theirs->templateId] = m_freeTemplate++;
            m_out.templates.push_back(ours);
        }
    }
    for (const TemplateRecord& theirs : m_theirs.templates) {
        const TemplateRecord* base = m_base ? findTemplate(m_base->templates, theirs.templateId) : nullptr;
        const bool inOurs = findTemplate(m_ours.templates, theirs.templateId) != nullptr;
        if (inOurs && !m_templateIds.count(theirs.templateId))
            continue;
        if (base && !inOurs) {
            if (theirs == *base) {
                m_deletedTemplates.push_back(theirs);
                continue;
            }
            m_out.templates.push_back(theirs);
            note(MergeEvent::Kept, MergeSubject::Template, theirs.templateId).field =
                Texts::Merging::keptNode;
            continue;
        }
        TemplateRecord added = theirs;
        added.templateId = mapTemplate(theirs.templateId);
        m_out.templates.push_back(added);
        note(MergeEvent::Added, MergeSubject::Template, added.templateId);
    }
}

void Merger::mergeTemplate(const TemplateRecord* base, const TemplateRecord& ours,
                           const TemplateRecord& theirs) {
    TemplateRecord merged = ours;
    std::vector<int> taken;
    std::vector<int> conflicts;
    for (int field = FieldTemplateName; field < FieldDbTitle; ++field) {
        const std::u16string o = templateValue(ours, field);
        const std::u16string t = templateValue(theirs, field);
        if (o == t || (base && templateValue(*base, field) == t))
            continue;
        if (base && templateValue(*base, field) == o) {
            setTemplateValue(merged, field, t);
            taken.push_back(field);
        } else {
            conflicts.push_back(field);
        }
    }
    m_out.templates.push_back(merged);
    if (!taken.empty()) {
        MergeEntry& entry = note(MergeEvent::Changed, MergeSubject::Template, merged.templateId);
        for (int field : taken)
            entry.field +=
                (entry.field.empty() ? u"" : u", ") + std::u16string(Texts::Merging::fieldNames[field]);
    }
    if (conflicts.empty())
        return;
    // The other side's template stays whole beside ours; its notes keep using ours.
    TemplateRecord copy = theirs;
    copy.templateId = m_freeTemplate++;
    copy.name = withArgument(Texts::Merging::otherCopy, theirs.name);
    m_out.templates.push_back(copy);
    for (int field : conflicts) {
        MergeEntry& entry = note(MergeEvent::Conflict, MergeSubject::Template, merged.templateId);
        entry.field = Texts::Merging::fieldNames[field];
        entry.ours = templateValue(ours, field);
        entry.theirs = templateValue(theirs, field);
        entry.copyId = copy.templateId;
        entry.copyTitle = copy.name;
    }
}

// A template still used by a merged note is not deleted.
void Merger::keepUsedTemplates() {
    if (m_deletedTemplates.empty())
        return;
    std::unordered_set<int32_t> used;
    for (const auto& [id, node] : m_out.nodes)
        used.insert(node.templateId);
    for (const TemplateRecord& t : m_deletedTemplates) {
        if (!used.count(t.templateId) || findTemplate(m_out.templates, t.templateId))
            continue;
        m_out.templates.push_back(t);
        std::erase_if(m_report.entries, [&](const MergeEntry& e) {
            return e.event == MergeEvent::Deleted && e.subject == MergeSubject::Template &&
                   e.id == t.templateId;
        });
        note(MergeEvent::Kept, MergeSubject::Template, t.templateId).field = Texts::Merging::keptFolder;
    }
}

void Merger::mergeDatabaseFields() {
    struct Property {
        std::u16string NotesMgr::*member;
        int field;
    };
    for (const Property p :
         {Property{&NotesMgr::dbTitle, FieldDbTitle}, Property{&NotesMgr::dbDescription, FieldDbDescription},
          Property{&NotesMgr::password, FieldDbPassword}}) {
        const std::u16string& ours = m_ours.*p.member;
        const std::u16string& theirs = m_theirs.*p.member;
        std::u16string& merged = m_out.*p.member;
        merged = ours;
        if (ours == theirs || (m_base && m_base->*p.member == theirs))
            continue;
        MergeEntry& entry = note(MergeEvent::Changed, MergeSubject::Database, -1);
        entry.field = Texts::Merging::fieldNames[p.field];
        if (m_base && m_base->*p.member == ours) {
            merged = theirs;
            continue;
        }
        entry.event = MergeEvent::Conflict;
        entry.concealed = p.field == FieldDbPassword;
        if (!entry.concealed) {
            entry.ours = ours;
            entry.theirs = theirs;
        }
    }
}

void Merger::finish() {
    int32_t maxNode = -1;
    if (!m_out.nodes.empty())
        maxNode = m_out.nodes.rbegin()->first;
    m_out.nextNodeId = std::max({m_ours.nextNodeId, m_theirs.nextNodeId, maxNode + 1});
    int32_t nextTemplate = std::max(m_ours.nextTemplateId, m_theirs.nextTemplateId);
    for (const TemplateRecord& t : m_out.templates)
        nextTemplate = std::max(nextTemplate, t.templateId + 1);
    m_out.nextTemplateId = nextTemplate;

    m_report.changed = nodesChanged() || m_out.templates != m_ours.templates ||
                       m_out.dbTitle != m_ours.dbTitle || m_out.dbDescription != m_ours.dbDescription ||
                       m_out.password != m_ours.password || m_out.nextNodeId != m_ours.nextNodeId ||
                       m_out.nextTemplateId != m_ours.nextTemplateId;
    if (m_report.entries.empty())
        return;

    std::unordered_map<int32_t, size_t> mergedOrder = treeOrder(m_out, m_report.entries, false);
    for (MergeEntry& entry : m_report.entries) {
        switch (entry.subject) {
        case MergeSubject::Node:
            if (entry.event != MergeEvent::Deleted) { // placed in ours already
                entry.where = pathOf(m_out, entry.id);
                entry.order = mergedOrder[entry.id];
            }
            break;
        case MergeSubject::Template: {
            const TemplateRecord* t = findTemplate(m_out.templates, entry.id);
            if (t)
                entry.where = t->name;
            entry.where = Texts::Merging::template_ + (u" " + entry.where);
            entry.order = t ? static_cast<size_t>(t - m_out.templates.data()) : 0;
            break;
        }
        case MergeSubject::Database:
            entry.where = Texts::Merging::database;
            break;
        }
    }
    std::stable_sort(m_report.entries.begin(), m_report.entries.end(),
                     [](const MergeEntry& a, const MergeEntry& b) {
                         return std::tie(a.event, a.subject, a.order) < std::tie(b.event, b.subject, b.order);
                     });
}

} // namespace

MergeReport Merge(const NotesMgr& base, const NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out) {
    return Merger(&base, ours, theirs, out).run();
}

MergeReport MergeTakingOurs(const NotesMgr& base, NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out,
                            const std::vector<int32_t>& unchangedIds) {
    return Merger(base, ours, theirs, out, unchangedIds).run();
}

MergeReport MergeTwoWay(const NotesMgr& ours, const NotesMgr& theirs, NotesMgr& out) {
    return Merger(nullptr, ours, theirs, out).run();
}
