#pragma once
// The fixed texts of the RTF layer, in one place.

#include <string_view>

namespace RtfTexts {

// A body is RTF when its first ten characters, lower-cased, hold one of these.
inline constexpr std::u16string_view rtfMarkers[] = {u"{\\rtf", u"{\\urtf", u"{\\pwd"};
inline constexpr size_t markerWindow = 10;

// Between paragraphs in the plain text of a body.
inline constexpr std::u16string_view paragraphBreak = u"\r\n";

} // namespace RtfTexts
