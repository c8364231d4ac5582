#include "core/TreeOps.h"

#include "core/Texts.h"
#include "core/TreeOrder.h"

#include <algorithm>
#include <set>
#include <tuple>

void NewDatabase(NotesMgr& mgr) {
    mgr.Reset();
    mgr.dbTitle = Texts::untitled;
    mgr.AddNode(-1, 0, 1, Texts::untitled, {}, {}, NoteTimestamp::now());
    mgr.InstallDefaultTemplates();
}

NoteRecord MakeNewNodeRecord(bool folder, const std::u16string& welcomeBody) {
    NoteRecord record;
    record.isFolder = folder ? 1 : 0;
    record.title = folder ? Texts::newFolder : Texts::newNote;
    if (!folder)
        record.body = welcomeBody;
    return record;
}

int32_t ParentForNewNode(const NotesMgr& mgr, int32_t selectedId) {
    // With nothing selected the node goes under the database item, so that
    // what the user filled in is never thrown away.
    if (selectedId < 0)
        return mgr.FindNode(0) ? 0 : -1;
    const NoteRecord* selected = mgr.FindNode(selectedId);
    if (!selected)
        return -1;
    if (selected->isFolder)
        return selected->nodeId;
    return mgr.FindNode(selected->parentId) ? selected->parentId : -1;
}

int32_t CreateNodeFromRecord(NotesMgr& mgr, int32_t selectedId, const NoteRecord& edited) {
    const int32_t parent = ParentForNewNode(mgr, selectedId);
    if (parent < 0)
        return -1;
    const int32_t id = mgr.AddNode(parent, edited.iconIndex, edited.isFolder ? 1 : 0, edited.title,
                                   edited.body, edited.link, edited.modifiedTime);
    NoteRecord& stored = *mgr.FindNode(id);
    const int32_t isFolder = stored.isFolder;
    CopyNoteContent(stored, edited);
    stored.isFolder = isFolder;
    mgr.SetModified();
    return id;
}

bool ApplyEditedNode(NotesMgr& mgr, NoteRecord edited) {
    NoteRecord* stored = mgr.FindNode(edited.nodeId);
    if (!stored)
        return false;
    if (CompareTimestamps(edited.reminderTime, stored->reminderTime) != 0 ||
        edited.repeatKind != stored->repeatKind || edited.repeatDays != stored->repeatDays)
        edited.reminderAckTime = NoteTimestamp{};
    CopyNoteContent(*stored, edited);
    mgr.SetModified();
    return true;
}

std::vector<int32_t> CollectSubtree(const NotesMgr& mgr, int32_t nodeId) {
    std::vector<int32_t> ids;
    const NoteRecord* node = mgr.FindNode(nodeId);
    if (!node)
        return ids;
    ids.push_back(nodeId);
    if (!node->isFolder)
        return ids;
    // One pass builds the child index (in ascending id, as the map iterates).
    std::multimap<int32_t, int32_t> childrenOf;
    for (const auto& [id, record] : mgr.nodes) {
        if (id != record.parentId)
            childrenOf.emplace(record.parentId, id);
    }
    // Depth-first with an explicit stack (a damaged file may nest very deeply):
    // each child folder's subtree is emitted before the child itself. A node
    // reached twice (a cycle in a damaged file) is not entered again.
    struct Frame {
        std::multimap<int32_t, int32_t>::const_iterator next, end;
        int32_t folderId;
    };
    std::set<int32_t> entered{nodeId};
    std::vector<Frame> stack;
    auto range = childrenOf.equal_range(nodeId);
    stack.push_back({range.first, range.second, nodeId});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.end) {
            const int32_t done = top.folderId;
            stack.pop_back();
            if (!stack.empty())
                ids.push_back(done);
            continue;
        }
        const int32_t child = (top.next++)->second;
        if (!entered.insert(child).second)
            continue;
        auto childRange = childrenOf.equal_range(child);
        stack.push_back({childRange.first, childRange.second, child});
    }
    return ids;
}

std::vector<int32_t> DeleteSubtree(NotesMgr& mgr, int32_t nodeId) {
    const NoteRecord* node = mgr.FindNode(nodeId);
    if (!node || node->parentId == -1)
        return {};
    std::vector<int32_t> ids = CollectSubtree(mgr, nodeId);
    for (int32_t id : ids)
        mgr.EraseNode(id);
    mgr.SetModified();
    return ids;
}

bool CanCopyOrCut(const NotesMgr& mgr, int32_t selectedId) {
    const NoteRecord* node = mgr.FindNode(selectedId);
    return node && !node->isFolder;
}

bool CanPaste(const NotesMgr& mgr, int32_t selectedId, const NoteClipboard& clipboard) {
    const NoteRecord* node = mgr.FindNode(selectedId);
    return node && node->isFolder && clipboard.has_value();
}

bool CanDelete(const NotesMgr& mgr, int32_t selectedId) {
    const NoteRecord* node = mgr.FindNode(selectedId);
    return node && node->parentId != -1;
}

bool CopyNote(const NotesMgr& mgr, int32_t noteId, NoteClipboard& clipboard) {
    if (!CanCopyOrCut(mgr, noteId))
        return false;
    clipboard = *mgr.FindNode(noteId);
    return true;
}

bool CutNote(NotesMgr& mgr, int32_t noteId, NoteClipboard& clipboard) {
    if (!CopyNote(mgr, noteId, clipboard))
        return false;
    mgr.EraseNode(noteId);
    mgr.SetModified();
    return true;
}

int32_t PasteNote(NotesMgr& mgr, int32_t folderId, const NoteClipboard& clipboard) {
    if (!CanPaste(mgr, folderId, clipboard))
        return -1;
    const NoteRecord& from = *clipboard;
    const int32_t id =
        mgr.AddNode(folderId, from.iconIndex, 0, from.title, from.body, from.link, from.modifiedTime);
    NoteRecord& stored = *mgr.FindNode(id);
    CopyNoteContent(stored, from);
    stored.isFolder = 0;
    mgr.SetModified();
    return id;
}

const NoteRecord* FindTemplateUser(const NotesMgr& mgr, int32_t templateId) {
    for (const auto& [id, record] : mgr.nodes) {
        if (!record.isFolder && record.templateId == templateId)
            return &record;
    }
    return nullptr;
}

bool IsTemplateNameTaken(const NotesMgr& mgr, std::u16string_view name, int32_t exceptTemplateId) {
    // The data page lists "None" beside the templates, so that name is taken too.
    if (CompareTitlesNoCase(name, Texts::noneTemplate) == 0)
        return true;
    return std::any_of(mgr.templates.begin(), mgr.templates.end(), [&](const TemplateRecord& t) {
        return t.templateId != exceptTemplateId && CompareTitlesNoCase(t.name, name) == 0;
    });
}

void RemoveTemplate(NotesMgr& mgr, int32_t templateId) {
    std::erase_if(mgr.templates,
                  [templateId](const TemplateRecord& t) { return t.templateId == templateId; });
    mgr.SetModified();
}

namespace {

auto dayKey(const NoteTimestamp& t) {
    return std::tie(t.year, t.month, t.day);
}

} // namespace

bool IsReminderDue(NoteRecord& note, const NoteTimestamp& now) {
    const NoteTimestamp& at = note.reminderTime;
    const NoteTimestamp& ack = note.reminderAckTime;
    bool due = false;
    switch (note.repeatKind) {
    case RepeatOnce:
        due = CompareTimestamps(now, at) >= 0 && CompareTimestamps(ack, at) < 0;
        break;
    case RepeatDaily:
    case RepeatWeekly:
        due = std::tie(now.hour, now.minute) >= std::tie(at.hour, at.minute) && dayKey(ack) != dayKey(now);
        break;
    case RepeatMonthly:
        due = std::tie(now.day, now.hour, now.minute) >= std::tie(at.day, at.hour, at.minute) &&
              std::tie(ack.year, ack.month) != std::tie(now.year, now.month);
        break;
    case RepeatYearly:
        due = std::tie(now.month, now.day, now.hour, now.minute) >=
                  std::tie(at.month, at.day, at.hour, at.minute) &&
              ack.year != now.year;
        break;
    default:
        break;
    }
    if (due)
        note.reminderAckTime = now;
    return due;
}
