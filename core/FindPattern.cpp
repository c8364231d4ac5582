#include "core/FindPattern.h"

#include "core/WideChars.h"

namespace {

constexpr char16_t kSoftHyphen = u'\u00AD';
// Line breaks inside a paragraph: the RTF engine's \line, and the Unicode
// line separator a plain body may carry.
constexpr std::u16string_view kSoftLineBreaks = u"\v\u2028";

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool isSoftLineBreak(char16_t c) {
    return kSoftLineBreaks.find(c) != std::u16string_view::npos;
}

// The code point that ends just before `at` / starts at `at`.
char32_t pointBefore(std::u16string_view s, size_t at) {
    const char16_t last = s[at - 1];
    if (isLowSurrogate(last) && at >= 2 && isHighSurrogate(s[at - 2]))
        return 0x10000 + ((char32_t(s[at - 2]) - 0xD800) << 10) + (char32_t(last) - 0xDC00);
    return last;
}
char32_t pointAt(std::u16string_view s, size_t at) {
    const char16_t first = s[at];
    if (isHighSurrogate(first) && at + 1 < s.size() && isLowSurrogate(s[at + 1]))
        return 0x10000 + ((char32_t(first) - 0xD800) << 10) + (char32_t(s[at + 1]) - 0xDC00);
    return first;
}

// The text with every soft line break that stands between two word
// characters taken out, or empty when there is none.
std::u16string joinWordsAcrossLineBreaks(std::u16string_view s) {
    std::u16string joined;
    bool any = false;
    for (size_t i = 0; i < s.size(); ++i) {
        if (isSoftLineBreak(s[i]) && i > 0 && i + 1 < s.size() &&
            !WideChars::IsWordBreak(pointBefore(s, i)) && !WideChars::IsWordBreak(pointAt(s, i + 1))) {
            if (!any) {
                joined.assign(s.substr(0, i));
                any = true;
            }
            continue;
        }
        if (any)
            joined += s[i];
    }
    return joined;
}

} // namespace

FindPattern::FindPattern(std::u16string_view text, bool matchCase, bool wholeWord)
    : m_matchCase(matchCase), m_wholeWord(wholeWord) {
    Prepare(text, m_pattern);
}

void FindPattern::Prepare(std::u16string_view text, std::u16string& out) const {
    out.resize(text.size());
    size_t n = 0;
    for (const char16_t c : text) {
        if (c != kSoftHyphen)
            out[n++] = m_matchCase ? c : WideChars::Lower(c);
    }
    out.resize(n);
}

bool FindPattern::Matches(std::u16string_view text) const {
    if (m_pattern.empty() || text.size() < m_pattern.size())
        return false;
    Prepare(text, m_prepared);
    if (Search(m_prepared))
        return true;
    // A word broken over two lines by a soft line break is still one word.
    if (m_prepared.find_first_of(kSoftLineBreaks) == std::u16string::npos)
        return false;
    const std::u16string joined = joinWordsAcrossLineBreaks(m_prepared);
    return !joined.empty() && Search(joined);
}

bool FindPattern::Search(std::u16string_view text) const {
    size_t from = 0;
    while (true) {
        const size_t at = text.find(m_pattern, from);
        if (at == std::u16string_view::npos)
            return false;
        if (!m_wholeWord || IsWholeWord(text, at))
            return true;
        // The next occurrence may overlap the rejected one and still be a whole word.
        from = at + 1;
    }
}

bool FindPattern::IsWholeWord(std::u16string_view text, size_t at) const {
    const size_t end = at + m_pattern.size();
    if (at > 0 && !WideChars::IsWordBreak(pointBefore(text, at)))
        return false;
    return end >= text.size() || WideChars::IsWordBreak(pointAt(text, end));
}

std::u16string TrimFindText(std::u16string_view text) {
    size_t end = text.size();
    while (end > 0 && WideChars::IsSpace(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && WideChars::IsSpace(text[begin]))
        ++begin;
    return std::u16string(text.substr(begin, end - begin));
}
