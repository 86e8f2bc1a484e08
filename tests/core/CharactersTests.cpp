#include <gtest/gtest.h>

#include "core/Characters.h"
#include "core/TextReplacing.h"

using namespace orvel::text;

TEST(Characters, PunctuationIsAnyPunctuationCategory) {
    for (std::string_view mark :
         {".", ":", "\uFF1A", "?", "\u00BF", "-", "_", "(", ")", "\u201D", "\u00AB", "\u3002", "%", "@"})
        EXPECT_TRUE(isPunctuation(mark)) << mark;
    for (std::string_view other : {"a", "1", " ", "$", "+", "\u00A0", ""})
        EXPECT_FALSE(isPunctuation(other)) << other;
}

TEST(Characters, DigitsAreAnyNumberCategory) {
    for (std::string_view digit : {"0", "9", "\u0663", "\u00BD", "\u2167"})
        EXPECT_TRUE(isDigit(digit)) << digit;
    for (std::string_view other : {"a", "%", " ", ""})
        EXPECT_FALSE(isDigit(other)) << other;
}

TEST(Characters, LastCharacterIsAWholeCluster) {
    EXPECT_EQ(lastCharacter("caf\u00E9e\u0301"), "e\u0301");
    EXPECT_EQ(lastCharacter("a\r\n"), "\r\n");
    EXPECT_EQ(lastCharacter("x"), "x");
    EXPECT_EQ(lastCharacter(""), "");
}

TEST(TextReplacing, ReplacesLeftToRightWithoutOverlaps) {
    EXPECT_EQ(replacingAll("%%%", "%%", "%"), "%%");
    EXPECT_EQ(replacingAll("a....b", "...", "\u2026"), "a\u2026.b");
    EXPECT_EQ(replacingAll("\u015F\u015F", "\u015F", "\u0219"), "\u0219\u0219");
    EXPECT_EQ(replacingAll("abc", "", "x"), "abc");
    EXPECT_EQ(replacingAll("", "a", "b"), "");
}
