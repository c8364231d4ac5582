#pragma once
// Finds the links in a text as the editor shows them: a run of characters that
// begins with a known scheme (web, file, ftp, mail and a few more) or "www."
// at the start of a word and ends at white space. Trailing punctuation that
// usually closes a sentence is not part of the link.

#include <QStringView>
#include <vector>

struct LinkRange {
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const LinkRange&) const = default;
};

class LinkFinder {
public:
    // Links longer than this are not detected, so that a click never opens a cut-off address.
    static constexpr qsizetype kMaxLinkLength = 4095;

    static std::vector<LinkRange> find(QStringView text);
};
