#pragma once
// Conversions between the database's UTF-16 strings and the UTF-8 of the
// command side. A stored string may hold a lone surrogate (nothing on the way
// in forbids it), so the conversion to UTF-8 says whether it was lossless.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

// True when every surrogate is part of a high-low pair.
bool IsWellFormedUtf16(std::u16string_view s);

// UTF-8 for display; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view s);
// The same, appended to `out`.
void AppendUtf8(std::string& out, std::u16string_view s);
// The same, written to `out` in pieces (long bodies are never held twice).
void WriteUtf8(std::ostream& out, std::u16string_view s);

// One line of a listing in UTF-8: control characters, which would break the
// line structure, become spaces.
std::string DisplayLine(std::u16string_view s);

// UTF-16 from UTF-8; nothing when the bytes are not well-formed UTF-8
// (truncated or overlong sequences, encoded surrogates, values past U+10FFFF).
std::optional<std::u16string> FromUtf8(std::string_view s);
