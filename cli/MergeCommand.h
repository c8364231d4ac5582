#pragma once
// merge: two copies of one database edited apart, merged against the copy
// both started from (or, with --two-way, without one); the result is written
// and what the merge did is printed. It serves as a merge driver for version
// control, which calls it with the three files and takes the result from OURS.

#include "cli/CommandLine.h"
#include "cli/PasswordSource.h"

#include <iosfwd>

inline constexpr int kMergeConflicts = 1;
inline constexpr int kMergeFailed = 2;

// Returns 0, or kMergeConflicts when the result holds conflicts; failures are
// thrown as by the other commands.
int RunMerge(const CommandLine& line, const PasswordSource& passwords, std::ostream& out);
