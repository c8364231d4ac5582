#pragma once
// The note editor's and the spell checker's own texts, in one table, so that
// no text is typed twice. Menu labels are kept exactly as the program shows them.

namespace EditorTexts {

// Context menu of an editable editor.
inline constexpr const char* formatting = "Formatting";
inline constexpr const char* fontName = "Font Name";
inline constexpr const char* faceTahoma = "Tahoma";
inline constexpr const char* faceCourierNew = "Courier New";
inline constexpr const char* fontSize = "Font Size";
inline constexpr const char* textColor = "Text Color";
inline constexpr const char* color = "Color...";
inline constexpr const char* highlight = "Highlight...";
inline constexpr const char* numbering = "Numbering";
inline constexpr const char* numberArabic = "1, 2, 3,  ...";
inline constexpr const char* numberLowerLetter = "a, b, c, ...";
inline constexpr const char* numberUpperLetter = "A, B, C, ...";
inline constexpr const char* numberLowerRoman = "i, ii, iii, ...";
inline constexpr const char* numberUpperRoman = "I, II, III, ...";
inline constexpr const char* bullets = "Bullets";
inline constexpr const char* numberNone = "None";
inline constexpr const char* bold = "Bold";
inline constexpr const char* italic = "Italic";
inline constexpr const char* strikeout = "Strikeout";
inline constexpr const char* underline = "Underline";
inline constexpr const char* alignLeft = "Align Left";
inline constexpr const char* center = "Center";
inline constexpr const char* alignRight = "Align Right";
inline constexpr const char* checkSpelling = "Check Spelling";
inline constexpr const char* cut = "Cut";
inline constexpr const char* copy = "Copy";
inline constexpr const char* paste = "Paste";
inline constexpr const char* selectAll = "Select All";

// The fourteen sizes of the Font Size submenu, in points (height = points x 20 twips).
inline constexpr int fontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 30, 36, 48, 72};

// Suggestion menu of the spell checker.
inline constexpr const char* noSuggestions = "No Suggestions";
inline constexpr const char* ignore = "Ignore";
inline constexpr const char* deleteWord = "Delete";
inline constexpr const char* addToDictionary = "Add to Dictionary";
inline constexpr const char* resetDictionary = "Reset Dictionary";
inline constexpr const char* confirmResetDictionary =
    "Are you sure that you want to reset your custom dictionary?";
inline constexpr const char* spellingComplete = "The spelling check is complete.";
inline constexpr const char* noMisspellings = "There are no misspelled words found.";

// The settings section holding the user's own words, and the dictionary's language.
inline constexpr const char* dictionarySection = "Dictionary";
inline constexpr const char* dictionaryLanguage = "en_US";

// The starter text every new note gets: a short RTF document in code page 1251
// with Tahoma 8-point text in two colours, one web link and one mail link.
inline constexpr const char* starterText =
    R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fswiss\fcharset204 Tahoma;}})"
    R"({\colortbl ;\red0\green0\blue128;\red128\green0\blue0;})"
    "\r\n"
    R"(\pard\cf1\f0\fs16 Right-click the text to open the context menu. It checks the spelling )"
    R"(and formats the text: bold, italic, underline, size and colour.\par)"
    "\r\n"
    R"(\cf2 A link is made by starting it with http://, file://, ftp:// or mailto:, for example:\par)"
    "\r\n"
    R"(\cf1 http://www.example.com\par)"
    "\r\n"
    R"(mailto:someone@example.com\par)"
    "\r\n}";

} // namespace EditorTexts
