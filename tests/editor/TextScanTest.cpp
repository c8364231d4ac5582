// Finding links and words in text, without a window.
#include "editor/LinkFinder.h"
#include "editor/SpellChecker.h"

#include <gtest/gtest.h>

namespace {

std::vector<QString> linkTexts(const QString& text) {
    std::vector<QString> out;
    for (const LinkRange& link : LinkFinder::find(text))
        out.push_back(text.mid(link.start, link.length));
    return out;
}

std::vector<QString> words(const QString& text) {
    std::vector<QString> out;
    qsizetype start = 0;
    qsizetype end = 0;
    qsizetype pos = 0;
    while (SpellChecker::FindNextWord(text, pos, start, end)) {
        out.push_back(text.mid(start, end - start));
        pos = end + 1;
    }
    return out;
}

TEST(LinkFinder, FindsEachSchemeAndEndsAtWhiteSpace) {
    const QString text =
        QStringLiteral("see http://a.example/x?y=1 and\tmailto:me@example.com\nfile:///tmp/a "
                       "ftp://host/f https://s.example www.example.org news:comp.lang");
    EXPECT_EQ(linkTexts(text), (std::vector<QString>{"http://a.example/x?y=1", "mailto:me@example.com",
                                                     "file:///tmp/a", "ftp://host/f", "https://s.example",
                                                     "www.example.org", "news:comp.lang"}));
}

TEST(LinkFinder, SchemeIsCaseBlindButMustStartAWord) {
    EXPECT_EQ(linkTexts(QStringLiteral("HTTP://Big.Example")), (std::vector<QString>{"HTTP://Big.Example"}));
    EXPECT_TRUE(linkTexts(QStringLiteral("xhttp://no.example awww.no")).empty());
    EXPECT_EQ(linkTexts(QStringLiteral("(http://in.example)")), (std::vector<QString>{"http://in.example"}));
}

TEST(LinkFinder, SentencePunctuationIsNotPartOfTheLink) {
    EXPECT_EQ(linkTexts(QStringLiteral("Go to http://a.example/page. Then")),
              (std::vector<QString>{"http://a.example/page"}));
    EXPECT_EQ(linkTexts(QStringLiteral("http://w.example/Foo_(bar), next")),
              (std::vector<QString>{"http://w.example/Foo_(bar)"}));
    // A bare scheme is no link.
    EXPECT_TRUE(linkTexts(QStringLiteral("http:// mailto:")).empty());
}

TEST(LinkFinder, LinksEndAtParagraphAndPictureBoundaries) {
    const QString text = QStringLiteral("http://a.example") + QChar::ParagraphSeparator +
                         QStringLiteral("www.b.example") + QChar::ObjectReplacementCharacter +
                         QStringLiteral("x") + QChar::LineSeparator + QStringLiteral("mailto:c@d");
    EXPECT_EQ(linkTexts(text), (std::vector<QString>{"http://a.example", "www.b.example", "mailto:c@d"}));
}

TEST(LinkFinder, OverlongLinkIsNotDetected) {
    const QString longLink =
        QStringLiteral("http://") + QString(LinkFinder::kMaxLinkLength, QLatin1Char('a'));
    EXPECT_TRUE(LinkFinder::find(longLink).empty());
    const QString fitting = longLink.left(LinkFinder::kMaxLinkLength);
    ASSERT_EQ(LinkFinder::find(fitting).size(), 1u);
    EXPECT_EQ(LinkFinder::find(fitting)[0].length, LinkFinder::kMaxLinkLength);
}

TEST(WordWalk, DelimitersSplitWords) {
    EXPECT_EQ(words(QStringLiteral("  Hello, world!  ")), (std::vector<QString>{"Hello", "world"}));
    // Apostrophes and hyphens are punctuation: two words each.
    EXPECT_EQ(words(QStringLiteral("don't well-known")), (std::vector<QString>{"don", "t", "well", "known"}));
    // Symbols, control characters and paragraph ends delimit too; letters of any script do not.
    EXPECT_EQ(words(QStringLiteral("a+b$c\x01") + QChar::ParagraphSeparator + QStringLiteral("Grüße") +
                    QChar::ObjectReplacementCharacter + QStringLiteral("Ж")),
              (std::vector<QString>{"a", "b", "c", "Grüße", "Ж"}));
    EXPECT_EQ(words(QStringLiteral("x2 42")), (std::vector<QString>{"x2", "42"}));
}

TEST(WordWalk, PunctuationOnlyTextHasNoWords) {
    EXPECT_TRUE(words(QStringLiteral(" ... !? -- ' ")).empty());
    EXPECT_TRUE(words(QString()).empty());
    qsizetype start = -1;
    qsizetype end = -1;
    EXPECT_FALSE(SpellChecker::FindNextWord(QStringLiteral("abc"), 3, start, end));
}

} // namespace
