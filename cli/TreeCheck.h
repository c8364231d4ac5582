#pragma once
// The rules every sound database keeps: one root, every other node under an
// existing folder, ids below nextNodeId, attachment bytes matching their size.
// The import refuses a database that breaks them; verify reports it.

#include "cli/TreeSkeleton.h"
#include "core/NotesMgr.h"

#include <optional>
#include <string>

// The first broken rule as one line, or nothing when the database is sound.
std::optional<std::string> FindTreeProblem(const NotesMgr& mgr);
std::optional<std::string> FindTreeProblem(const TreeSkeleton& skeleton);
