#pragma once
// The database as JSON and back. The export names every field after the
// data model (dbTitle, nodes[].fieldValues, ...); the import refuses anything
// that would not make a sound database, with one line saying where.
//
// Strings: a well-formed UTF-16 string is a JSON string. A string holding a
// lone surrogate cannot be written as JSON text without loss, so it becomes
// {"utf16": [code units]} instead; the import takes either form for every
// string field, so such a string survives the round trip exactly.

#include "core/NotesMgr.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>
#include <string>

class AttachmentFolder;

using Json = nlohmann::ordered_json;

// Every database field. With `attachments`, attachment bytes go into files
// there and the node records the file name as attachmentFile; otherwise they
// are attachmentData in base64. Nodes without attachment bytes have neither.
Json ExportDatabase(const NotesMgr& mgr, AttachmentFolder* attachments);

// The same export written as text, one node at a time, so that a large
// database never stands in memory twice over as a JSON tree. The text equals
// ExportDatabase(...).dump(2) followed by a line end.
void WriteDatabaseJson(const NotesMgr& mgr, AttachmentFolder* attachments, std::ostream& out);

// Fills `mgr` (templates, nodes, database fields) from an export. Files named
// by attachmentFile are read from `attachments`. Throws CliError on a wrong
// type, a missing field, a value out of range, or a broken tree.
void ImportDatabase(const Json& json, NotesMgr& mgr, const AttachmentFolder* attachments);

// Parses JSON text; throws CliError naming `source` when it is not JSON.
Json ParseJson(const std::string& text, const std::string& source);

Json StringToJson(const std::u16string& s);
std::u16string StringFromJson(const Json& value, const std::string& where);
Json TimestampToJson(const NoteTimestamp& ts);
NoteTimestamp TimestampFromJson(const Json& value, const std::string& where);
