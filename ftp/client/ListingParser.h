#pragma once
// Reads the server's answers to a folder listing: machine-readable MLSD lines
// ("type=file;size=12;modify=20240101120000; name") and the single values of
// SIZE and MDTM used where a server has no MLSD.

#include "ftp/client/FtpFileInfo.h"

#include <optional>
#include <string>
#include <vector>

// Every plain file of an MLSD answer, in the server's order.
std::vector<FtpFileInfo> ParseMlsdFiles(const std::string& text);

// Those of them whose names end in ".nte".
std::vector<FtpFileInfo> ParseMlsdListing(const std::string& text);

// Every name of an NLST answer, folders included, without a leading folder part.
std::vector<std::string> ParseNames(const std::string& text);

// The names of an NLST answer (one a line, folders included) that end in ".nte";
// a leading folder part the server may add is removed.
std::vector<std::string> ParseNameListing(const std::string& text);

// "YYYYMMDDHHMMSS[.fff]" in UTC, as MLSD's modify fact and MDTM give it.
std::optional<std::time_t> ParseFtpTime(const std::string& text);
