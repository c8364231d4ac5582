#pragma once
// How the FTP exchange forms names and paths: remote paths from the stored
// folder, the "_old.nte" backup names of both sides, the target of a rename
// and the folder as the settings store it.

#include <string>

// The database extension; a backup puts "_old.nte" in its place.
inline constexpr const char* kDatabaseExtension = ".nte";
inline constexpr const char* kBackupExtension = "_old.nte";

// folder + "/" + name; an empty folder gives "/name".
std::string RemotePath(const std::string& folder, const std::string& name);

// "_old.nte" in place of every ".nte"; a path without ".nte" stays unchanged
// (and then has no separate backup).
std::string BackupName(const std::string& path);

// The file name a rename gives: the entered text with ".nte" appended when it
// holds no ".nte", every space turned into "_". Only the name is changed, never
// the folder it goes into.
std::string RenameTarget(const std::string& enteredName);

// True when the name ends in ".nte" (the files the exchange lists).
bool IsDatabaseName(const std::string& name);

bool ContainsSpace(const std::string& name);

// The folder as stored: one trailing "/" removed, else one trailing "\".
std::string TrimFolder(const std::string& folder);
