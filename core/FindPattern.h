#pragma once
// The text test of find: whether a search text occurs in a piece of text,
// with or without regard to case, anywhere or only as a whole word.
//
// Case is folded with the C library's wide lower-case conversion; a word ends
// at punctuation or white space (the C library's wide classification). What
// the user sees as one word is searched as one: a soft hyphen is invisible
// and never splits a word, and a soft line break between two letters is read
// both ways, as the break the user typed and as the word it runs through.

#include <string>
#include <string_view>

class FindPattern {
public:
    // `text` is searched as given (the caller trims it); soft hyphens in it are ignored.
    FindPattern(std::u16string_view text, bool matchCase, bool wholeWord);

    // True when nothing is left to search for.
    bool empty() const { return m_pattern.empty(); }

    bool Matches(std::u16string_view text) const;

private:
    // The text as compared: soft hyphens removed, folded without match case.
    void Prepare(std::u16string_view text, std::u16string& out) const;
    bool Search(std::u16string_view text) const;
    bool IsWholeWord(std::u16string_view text, size_t at) const;

    std::u16string m_pattern;
    // The prepared text of the last test: one buffer for all the texts of a step.
    mutable std::u16string m_prepared;
    bool m_matchCase;
    bool m_wholeWord;
};

// The search text as searched: trailing, then leading white space removed.
std::u16string TrimFindText(std::u16string_view text);
