#pragma once
// Note bodies as text: telling RTF bodies from plain ones, turning a body into
// the bytes the editor reads, and into the plain text that find searches.

#include "editor/rtf/RichText.h"

#include <functional>
#include <string>
#include <string_view>

namespace rtf {

// True when the body's first ten characters (the whole body when shorter),
// lower-cased, contain "{\rtf", "{\urtf" or "{\pwd".
bool IsRtfBody(const std::u16string& body);

// The body as the editor streams it in: each character converted to the ANSI
// code page (1252); characters 1252 cannot hold become '?'.
std::string BodyToRtfBytes(const std::u16string& body);

// The text find searches: a plain body unchanged; for an RTF body the visible
// text, paragraphs separated by "\r\n", without list markers or pictures.
std::u16string BodyToPlainText(const std::u16string& body);

// The plain text of an RTF body given as the bytes BodyToRtfBytes makes,
// handed to `piece` in parts as it is made (for bodies too long to hold twice).
void RtfBytesToPlainText(std::string_view rtf, const std::function<void(std::u16string_view)>& piece);

// The same text taken from a document already read.
std::u16string DocumentPlainText(const Document& doc);

} // namespace rtf
