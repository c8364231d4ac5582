#include "cli/TreeCheck.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "core/TreeOrder.h"

std::optional<std::string> FindTreeProblem(const NotesMgr& mgr) {
    const NoteRecord* root = nullptr;
    for (const auto& [id, node] : mgr.nodes) {
        const std::string idText = std::to_string(id);
        if (id < 0)
            return FormatText(CliTexts::negativeNodeId, {idText});
        if (id >= mgr.nextNodeId)
            return FormatText(CliTexts::idNotBelowNext, {idText, std::to_string(mgr.nextNodeId)});
        if (node.attachmentSize < 0 || static_cast<size_t>(node.attachmentSize) != node.attachmentData.size())
            return FormatText(CliTexts::attachmentSizeWrong, {idText, std::to_string(node.attachmentSize),
                                                              std::to_string(node.attachmentData.size())});
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
    for (const auto& [id, node] : mgr.nodes) {
        if (node.parentId == -1)
            continue;
        const NoteRecord* parent = mgr.FindNode(node.parentId);
        if (!parent)
            return FormatText(CliTexts::missingParent, {std::to_string(id), std::to_string(node.parentId)});
        if (!parent->isFolder)
            return FormatText(CliTexts::parentNotFolder, {std::to_string(id), std::to_string(node.parentId)});
    }
    // Every parent exists and is a folder, so what the root does not reach
    // hangs in a loop of folders.
    const TreeListing listing = ListTree(mgr);
    if (!listing.unreachable.empty())
        return FormatText(CliTexts::unreachableNode, {std::to_string(listing.unreachable.front())});
    return std::nullopt;
}
