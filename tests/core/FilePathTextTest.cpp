// Paths turned into the UTF-16 of the recent-files list.
#include "core/PathText.h"

#include <gtest/gtest.h>

TEST(FilePathText, DecodesUtf8) {
    EXPECT_EQ(PathToUtf16("/home/a/notes.nte"), u"/home/a/notes.nte");
    EXPECT_EQ(PathToUtf16("/tmp/данные ü/€.nte"), u"/tmp/данные ü/€.nte");
    // Outside the basic plane: a surrogate pair.
    EXPECT_EQ(PathToUtf16("x\xF0\x9F\x93\x92y"), u"x\U0001F4D2y");
}

TEST(FilePathText, EachMalformedByteBecomesAReplacementCharacter) {
    EXPECT_EQ(PathToUtf16("a\xE9"
                          "b"),
              u"a\uFFFD"
              "b");                                                          // a 1252 byte, not UTF-8
    EXPECT_EQ(PathToUtf16("\xC3"), u"\uFFFD");                               // cut short
    EXPECT_EQ(PathToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");                     // overlong '/'
    EXPECT_EQ(PathToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");           // a surrogate
    EXPECT_EQ(PathToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // beyond U+10FFFF
    EXPECT_EQ(PathToUtf16("\xE2\x82"
                          "z"),
              u"\uFFFD\uFFFDz");
}
