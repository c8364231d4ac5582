#pragma once
// Writes the rich-text model as RTF in the form the rich-edit control writes
// and reads back: ANSI code page 1252, \uN? for other characters, numbering
// in the \pn form with its item text, pictures as hex PNG or JPEG blips.

#include "editor/rtf/RichText.h"

#include <string>

namespace rtf {

std::string WriteRtf(const Document& doc);

} // namespace rtf
