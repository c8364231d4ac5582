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

// True for a name that names a file of the folder and nothing else: not
// empty, no "/" or "\\", not starting with "." (which also covers "." and "..").
bool IsPlainName(const std::string& name);

// The temporary name an upload of `name` goes to first: `name` + ".part-"
// + eight random hexadecimal digits.
std::string TemporaryName(const std::string& name, const std::string& suffix);

// The database name a temporary upload name belongs to ("a.nte" for
// "a.nte.part-0123abcd"); empty when `name` is no such temporary name.
std::string TemporaryNameOwner(const std::string& name);

// `text` with its "%1" replaced by `name`.
std::string WithName(const char* text, const std::string& name);

// The folder as stored: one trailing "/" removed, else one trailing "\".
std::string TrimFolder(const std::string& folder);
