#include <gtest/gtest.h>

#include <algorithm>

#include "core/Unicode.h"

using namespace orvel::text;

TEST(Unicode, GraphemesKeepCombiningMarksAndEmojiSequencesTogether) {
    // e + combining acute, a family emoji (ZWJ sequence), a flag (regional indicators), CRLF.
    const std::string text = "e\u0301\U0001F468\u200D\U0001F469\u200D\U0001F467\U0001F1E9\U0001F1EA\r\nx";
    auto parts = graphemes(text);
    ASSERT_EQ(parts.size(), 5u);
    EXPECT_EQ(parts[0], "e\u0301");
    EXPECT_EQ(parts[3], "\r\n");
    EXPECT_EQ(graphemeCount(text), 5u);
    EXPECT_EQ(graphemeCount(""), 0u);
    // Plain ASCII: one character each, but a carriage return with its line feed.
    EXPECT_EQ(graphemes("a\r\n\n\rb\r"), (std::vector<std::string_view>{"a", "\r\n", "\n", "\r", "b", "\r"}));
}

TEST(Unicode, ScalarIterationReplacesIllFormedBytes) {
    EXPECT_EQ(scalars("a\xC3\xA9"), (std::vector<char32_t>{U'a', U'\u00E9'}));
    // A lone continuation byte and a truncated sequence each become one replacement character.
    EXPECT_EQ(scalars("\x80z\xE2\x82"),
              (std::vector<char32_t>{replacementCharacter, U'z', replacementCharacter}));
    EXPECT_EQ(decodeUtf8Lossy("ok\xFF!"), "ok\uFFFD!");
    EXPECT_TRUE(isValidUtf8("gr\u00FC\u00DFe \U0001F600"));
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // an encoded surrogate
    EXPECT_EQ(fromScalars({U'\u00E9', 0xD800, 0x110000}), "\u00E9\uFFFD\uFFFD");
}

TEST(Unicode, LetterTestsUseTheFirstScalarOfEachCharacter) {
    EXPECT_TRUE(isLetter("a"));
    EXPECT_TRUE(isLetter("\u00E9"));
    EXPECT_TRUE(isLetter("\u6F22"));
    EXPECT_FALSE(isLetter("\u0301")); // a lone combining mark is not alphabetic in its own right
    EXPECT_FALSE(isLetter("7"));
    EXPECT_FALSE(isLetter(""));
    EXPECT_FALSE(containsLetter("% / \u2014 42. \u0301"));
    EXPECT_TRUE(containsLetter("42 files"));
}

TEST(Unicode, ScalarProperties) {
    EXPECT_TRUE(isNumber(U'7'));
    EXPECT_TRUE(isNumber(U'\u00BD')); // vulgar fraction one half (No)
    EXPECT_FALSE(isNumber(U'x'));
    EXPECT_TRUE(isWhitespace(U'\u00A0'));
    EXPECT_TRUE(isWhitespace(U'\n'));
    EXPECT_FALSE(isWhitespace(U'_'));
    EXPECT_TRUE(isUppercase(U'\u00C9'));
    EXPECT_TRUE(isLowercase(U'\u00DF'));
    EXPECT_FALSE(isUppercase(U'1'));
}

TEST(Unicode, CaseMappingIsLocaleIndependent) {
    EXPECT_EQ(lowercased("ISTANBUL \u00C9T\u00C9"), "istanbul \u00E9t\u00E9");
    EXPECT_EQ(uppercased("stra\u00DFe"), "STRASSE");
    // ASCII next to the letters' ranges stays.
    EXPECT_EQ(lowercased("@AZ[`az{ 09"), "@az[`az{ 09");
    EXPECT_EQ(uppercased("@AZ[`az{ 09"), "@AZ[`AZ{ 09");
    EXPECT_EQ(uppercasedFirst("espa\u00F1ol", "es"), "Espa\u00F1ol");
    EXPECT_EQ(uppercasedFirst("istanbul", "tr"), "\u0130stanbul"); // Turkish rules keep the dot
    EXPECT_EQ(uppercasedFirst("", "en"), "");
}

TEST(Unicode, NormalisationMakesCanonicalEquivalentsEqual) {
    EXPECT_EQ(nfc("e\u0301"), "\u00E9");
    EXPECT_TRUE(canonicallyEqual("Cafe\u0301", "Caf\u00E9"));
    EXPECT_FALSE(canonicallyEqual("Cafe", "Caf\u00E9"));
}

TEST(Unicode, StandardCompareIgnoresCaseAndOrdersDigitRunsByValue) {
    std::vector<std::string> keys{"Item 10", "item 2", "Item 1"};
    std::sort(keys.begin(), keys.end(), localizedStandardLess);
    EXPECT_EQ(keys, (std::vector<std::string>{"Item 1", "item 2", "Item 10"}));
    EXPECT_EQ(localizedStandardCompare("abc", "ABC"), 0);
    EXPECT_LT(localizedStandardCompare("file9", "file10"), 0);
    // Sort keys order exactly as the comparison does.
    for (const auto& [a, b] :
         {std::pair{"file9", "file10"}, {"abc", "ABC"}, {"\u00E9", "e"}, {"b", "a\u00E9"}})
        EXPECT_EQ(localizedStandardCompare(a, b) < 0,
                  localizedStandardSortKey(a) < localizedStandardSortKey(b))
            << a;
    EXPECT_EQ(localizedStandardSortKey("abc"), localizedStandardSortKey("ABC"));
}

TEST(Unicode, Utf16RoundTrip) {
    const std::string text = "a\u00E9\U0001F600";
    EXPECT_EQ(fromUtf16(toUtf16(text)), text);
    EXPECT_EQ(fromUtf16(u"x\xD800y"), "x\uFFFDy");
}
