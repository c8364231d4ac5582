#pragma once
// What a merge of two copies of one database did, as seen from this copy
// ("ours"): what came from the other copy, what was deleted, what was kept
// although one side deleted it, and every conflict. Entries are grouped by
// event and, within a group, in the tree order of the merged database.

#include <cstdint>
#include <string>
#include <vector>

enum class MergeEvent { Added, Changed, Kept, Deleted, Conflict };
enum class MergeSubject { Node, Template, Database };

struct MergeEntry {
    MergeEvent event = MergeEvent::Changed;
    MergeSubject subject = MergeSubject::Node;
    // The node or template id in the merged database (for Deleted: in ours).
    int32_t id = -1;
    // Titles from the root down (" / "), the template's name or the database's title.
    std::u16string where;
    // Changed: the fields taken from the other copy (", "); Conflict: the one field.
    std::u16string field;
    // A conflict's two values as shown; empty when the field is concealed or has no short form.
    std::u16string ours;
    std::u16string theirs;
    bool concealed = false;
    // A conflict's copy holding every field of the other side; -1 when none was made.
    int32_t copyId = -1;
    std::u16string copyTitle;
    // Position in the tree listing, for ordering.
    size_t order = 0;
};

struct MergeReport {
    bool twoWay = false;
    // The merged database differs from ours.
    bool changed = false;
    std::vector<MergeEntry> entries;

    bool hasConflicts() const;
    // One line per entry under a heading per group, plus the summary line.
    std::vector<std::u16string> lines() const;
    // The group heading an entry is listed under.
    static std::u16string heading(MergeEvent event);
    // The entry without its heading: where, then what happened.
    static std::u16string describe(const MergeEntry& entry);
};
