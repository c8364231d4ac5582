#pragma once
// Reads RTF as the note editor stores it (and as other programs write it)
// into the rich-text model. Never fails: malformed input gives the best
// document that can be made of it.

#include "editor/rtf/RichText.h"

#include <string_view>

namespace rtf {

// The document held by `rtf` (bytes, as streamed to the editor); always at
// least one paragraph.
Document ReadRtf(std::string_view rtf);

} // namespace rtf
