#include "editor/LinkFinder.h"

#include <QChar>
#include <array>

namespace {

constexpr std::array kPrefixes = {
    QStringView(u"http://"), QStringView(u"https://"), QStringView(u"ftp://"),  QStringView(u"file://"),
    QStringView(u"mailto:"), QStringView(u"news:"),    QStringView(u"telnet:"), QStringView(u"www."),
};

bool endsLink(QChar ch) {
    if (ch.isSpace() || ch.category() == QChar::Other_Control || ch == QChar::ObjectReplacementCharacter)
        return true;
    switch (ch.unicode()) {
    case u'<':
    case u'>':
    case u'"':
    case u'{':
    case u'}':
        return true;
    default:
        return false;
    }
}

bool isTrailingPunctuation(QChar ch) {
    switch (ch.unicode()) {
    case u'.':
    case u',':
    case u';':
    case u':':
    case u'!':
    case u'?':
    case u'\'':
    case u')':
    case u']':
        return true;
    default:
        return false;
    }
}

// Length of the prefix that starts at `pos`, or 0.
qsizetype prefixAt(QStringView text, qsizetype pos) {
    for (QStringView prefix : kPrefixes) {
        if (text.size() - pos >= prefix.size() &&
            text.mid(pos, prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0)
            return prefix.size();
    }
    return 0;
}

} // namespace

std::vector<LinkRange> LinkFinder::find(QStringView text) {
    std::vector<LinkRange> links;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        // A link begins a word: the character before it is no letter or digit.
        if (pos > 0 && text[pos - 1].isLetterOrNumber()) {
            ++pos;
            continue;
        }
        const qsizetype prefix = prefixAt(text, pos);
        if (prefix == 0) {
            ++pos;
            continue;
        }
        qsizetype end = pos + prefix;
        while (end < n && !endsLink(text[end]))
            ++end;
        qsizetype trimmed = end;
        while (trimmed > pos + prefix && isTrailingPunctuation(text[trimmed - 1])) {
            // A closing bracket stays when the link itself opened one, as in wiki addresses.
            const QChar last = text[trimmed - 1];
            if ((last == u')' && text.mid(pos, trimmed - pos).contains(u'(')) ||
                (last == u']' && text.mid(pos, trimmed - pos).contains(u'[')))
                break;
            --trimmed;
        }
        const qsizetype length = trimmed - pos;
        if (trimmed > pos + prefix && length <= kMaxLinkLength)
            links.push_back({pos, length});
        pos = end;
    }
    return links;
}
