#pragma once
// File paths are bytes (UTF-8 by convention) on this system; the database
// keeps them as UTF-16 strings (the recent-files list).

#include <string>
#include <string_view>

// UTF-8 to UTF-16; a byte that does not belong to a well-formed sequence
// becomes U+FFFD.
std::u16string PathToUtf16(std::string_view path);
