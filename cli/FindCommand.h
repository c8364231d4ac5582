#pragma once
// find: every node that holds the search text, in the order in which the find
// dialog's repeated Find Next visits them after Find (the walk starts after
// the database item and comes back round to it), each once.

#include "cli/CommandLine.h"
#include "core/NoteFinder.h"

#include <iosfwd>

// The search text and options of `find FILE TEXT`; throws CliError for an
// unknown scope or a text that is empty or only white space.
FindOptions FindOptionsFromCommandLine(const CommandLine& line);

// The ids of the matching nodes in visiting order.
std::vector<int32_t> FindEveryMatch(const NotesMgr& mgr, const FindOptions& options);

// Prints one line per match, "ID<tab>Root / Folder / Title"; throws CliError
// with "The specified text was not found." when nothing matched.
void RunFind(const NotesMgr& mgr, const FindOptions& options, std::ostream& out);
