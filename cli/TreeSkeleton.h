#pragma once
// What the listing and the tree rules look at of each node: ids, kind, title
// and attachment sizes, without bodies, field values or attachment bytes, so
// that ls and verify read a database of 100,000 nodes without holding all of
// it. Taken from a database in memory, or read from a file node by node.

#include "core/NotesMgr.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TreeEntry {
    int32_t nodeId = 0;
    int32_t parentId = 0;
    int32_t isFolder = 0;
    int32_t attachmentSize = 0;
    // The attachment bytes present; a database built in memory may let them
    // differ from attachmentSize.
    uint64_t attachmentBytes = 0;
    // Where the title lies in the skeleton's titles.
    size_t titleStart = 0;
    size_t titleLength = 0;
};

struct TreeSkeleton {
    int32_t nextNodeId = 0;
    // Ascending nodeId, each id once.
    std::vector<TreeEntry> nodes;
    // Every title one after the other: one buffer rather than one per node.
    std::u16string titles;

    const TreeEntry* find(int32_t nodeId) const;
    std::u16string_view title(const TreeEntry& entry) const {
        return std::u16string_view(titles).substr(entry.titleStart, entry.titleLength);
    }
};

TreeSkeleton SkeletonOf(const NotesMgr& mgr);

// Reads the database file at `path` with `mgr`'s password: the database
// fields and templates into `mgr` (its nodes stay empty), the nodes into the
// skeleton, titles only when `titles` is set. Throws as NotesMgr::Load does.
TreeSkeleton ReadSkeleton(NotesMgr& mgr, const std::string& path, bool titles);
