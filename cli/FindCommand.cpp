#include "cli/FindCommand.h"

#include "cli/CliError.h"
#include "cli/CliTexts.h"
#include "cli/Utf.h"
#include "core/FindPattern.h"
#include "core/Texts.h"
#include "core/TreeOrder.h"

#if SEALBOOK_CLI_HAVE_RTF
#include "editor/rtf/PlainText.h"
#endif

#include <algorithm>
#include <ostream>
#include <unordered_set>

namespace {

std::u16string searchedBodyText(const std::u16string& body) {
#if SEALBOOK_CLI_HAVE_RTF
    return rtf::BodyToPlainText(body);
#else
    return body;
#endif
}

std::string titlePath(const NotesMgr& mgr, int32_t nodeId) {
    std::vector<const NoteRecord*> chain;
    // A found node is reachable from the root, so its parents form no loop;
    // the bound only guards against a damaged map.
    for (const NoteRecord* node = mgr.FindNode(nodeId); node && chain.size() <= mgr.nodes.size();
         node = mgr.FindNode(node->parentId)) {
        chain.push_back(node);
        if (node->parentId == -1)
            break;
    }
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path += CliTexts::pathSeparator;
        path += DisplayLine((*it)->title);
    }
    return path;
}

} // namespace

FindOptions FindOptionsFromCommandLine(const CommandLine& line) {
    FindOptions options;
    const std::optional<std::u16string> text = FromUtf8(line.operands[1]);
    if (!text)
        throw CliError(CliTexts::searchTextNotUtf8);
    if (TrimFindText(*text).empty())
        throw CliError(CliTexts::emptySearchText);
    options.text = *text;
    if (line.scope) {
        static constexpr std::pair<const char*, int> kScopes[] = {
            {"title", FindInTitle}, {"body", FindInBody}, {"both", FindInTitleAndBody}};
        const auto found = std::find_if(std::begin(kScopes), std::end(kScopes),
                                        [&](const auto& entry) { return *line.scope == entry.first; });
        if (found == std::end(kScopes))
            throw CliError(FormatText(CliTexts::badScope, {*line.scope}));
        options.scope = found->second;
    }
    options.matchCase = line.matchCase;
    options.wholeWord = line.wholeWord;
    return options;
}

std::vector<int32_t> FindEveryMatch(const NotesMgr& mgr, const FindOptions& options) {
    const TreeListing tree = ListTree(mgr);
    if (tree.shown.empty())
        return {};
    // As after Find: the database item selected, the walk not yet past it.
    NoteFinder finder(&searchedBodyText);
    int32_t selected = tree.shown.front().nodeId;
    NoteFinder::Known known;
    std::vector<int32_t> matches;
    std::unordered_set<int32_t> seen;
    bool lastFoundNothing = false;
    while (true) {
        const NoteFinder::Result step = finder.Step(tree, options, selected, &known);
        if (step.outcome != NoteFinder::Outcome::Found) {
            // The step after the first miss starts over from the top; a
            // second miss in a row means there is nothing at all.
            if (lastFoundNothing || step.outcome == NoteFinder::Outcome::NothingToFind)
                break;
            lastFoundNothing = true;
            continue;
        }
        lastFoundNothing = false;
        if (!seen.insert(step.nodeId).second)
            break;
        matches.push_back(step.nodeId);
        selected = step.nodeId;
    }
    return matches;
}

void RunFind(const NotesMgr& mgr, const FindOptions& options, std::ostream& out) {
    const std::vector<int32_t> matches = FindEveryMatch(mgr, options);
    if (matches.empty())
        throw CliError(Texts::textNotFound);
    for (const int32_t id : matches)
        out << id << '\t' << titlePath(mgr, id) << '\n';
}
