#include "cli/TreeCheck.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/TreeListing.h"

std::optional<std::string> FindTreeProblem(const NotesMgr& mgr) {
    return FindTreeProblem(SkeletonOf(mgr));
}

std::optional<std::string> FindTreeProblem(const TreeSkeleton& skeleton) {
    const TreeEntry* root = nullptr;
    for (const TreeEntry& node : skeleton.nodes) {
        const int32_t id = node.nodeId;
        const std::string idText = std::to_string(id);
        if (id < 0)
            return FormatText(CliTexts::negativeNodeId, {idText});
        if (id >= skeleton.nextNodeId)
            return FormatText(CliTexts::idNotBelowNext, {idText, std::to_string(skeleton.nextNodeId)});
        if (node.attachmentSize < 0 || static_cast<uint64_t>(node.attachmentSize) != node.attachmentBytes)
            return FormatText(CliTexts::attachmentSizeWrong, {idText, std::to_string(node.attachmentSize),
                                                              std::to_string(node.attachmentBytes)});
        if (node.parentId == -1) {
            if (root)
                return FormatText(CliTexts::twoRoots, {std::to_string(root->nodeId), idText});
            root = &node;
        }
    }
    if (!root)
        return std::string(CliTexts::noRoot);
    if (!root->isFolder)
        return FormatText(CliTexts::rootNotFolder, {std::to_string(root->nodeId)});
    for (const TreeEntry& node : skeleton.nodes) {
        const int32_t id = node.nodeId;
        if (node.parentId == -1)
            continue;
        const TreeEntry* parent = skeleton.find(node.parentId);
        if (!parent)
            return FormatText(CliTexts::missingParent, {std::to_string(id), std::to_string(node.parentId)});
        if (!parent->isFolder)
            return FormatText(CliTexts::parentNotFolder, {std::to_string(id), std::to_string(node.parentId)});
    }
    // Every parent exists and is a folder, so what the root does not reach
    // hangs in a loop of folders.
    const TreeListing listing = ListTree(skeleton);
    if (!listing.unreachable.empty())
        return FormatText(CliTexts::unreachableNode, {std::to_string(listing.unreachable.front())});
    return std::nullopt;
}
