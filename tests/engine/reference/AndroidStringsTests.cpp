#include <gtest/gtest.h>

#include "engine/reference/AndroidStrings.h"
#include "engine/reference/BackslashEscapes.h"

using namespace orvel::SoftwareFormats;

namespace {

KeyedTexts read(const std::string& body) {
    return androidStrings("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n" +
                          body + "\n</resources>");
}

std::string value(const std::string& element) {
    const auto strings = read(element);
    return strings.empty() ? "<none>" : strings.begin()->second;
}

} // namespace

TEST(AndroidStrings, QuotedTextStaysVerbatimOtherTextCollapsesWhiteSpace) {
    EXPECT_EQ(value(R"(<string name="a">"  two   spaces "</string>)"), "  two   spaces ");
    EXPECT_EQ(value(R"(<string name="a">  two   spaces </string>)"), "two spaces");
    EXPECT_EQ(value("<string name=\"a\">\n   line\n\t one\u2028two\u00a0 </string>"), "line one two");
    EXPECT_EQ(value(R"(<string name="a">say "hi" now</string>)"), "say \"hi\" now");
    EXPECT_EQ(value(R"(<string name="a">"</string>)"), "\"");
    EXPECT_EQ(value(R"(<string name="a">""</string>)"), "");
    // An escaped line break is resolved after the collapse and survives it.
    EXPECT_EQ(value(R"(<string name="a">one\n   two</string>)"), "one\n two");
}

TEST(AndroidStrings, EnclosingQuotesMustBeCharactersOfTheirOwn) {
    // A combining mark after the opening quote, or a prepended mark before the closing one, joins the
    // quote into another character, so the text is not quoted and its white space collapses.
    EXPECT_EQ(value("<string name=\"a\">\"\u0301 a   b\"</string>"), "\"\u0301 a b\"");
    EXPECT_EQ(value("<string name=\"a\">\"a   b\u0600\"</string>"), "\"a b\u0600\"");
    // Quotes beside characters of several bytes still enclose the text.
    EXPECT_EQ(value("<string name=\"a\">\"\U0001F600  x \u00e9\u00e9\"</string>"),
              "\U0001F600  x \u00e9\u00e9");
    EXPECT_EQ(value("<string name=\"a\">\"\U0001F600\"</string>"), "\U0001F600");
}

TEST(AndroidStrings, EscapesAreResolved) {
    EXPECT_EQ(value(R"(<string name="q">Don\'t \"x\"\n</string>)"), "Don't \"x\"\n");
    EXPECT_EQ(value(R"(<string name="u">\u00e9t\u00E9</string>)"), "été");
    EXPECT_EQ(value(R"(<string name="u">\uD83D</string>)"), "uD83D");
    EXPECT_EQ(value(R"(<string name="u">\u12</string>)"), "u12");
    EXPECT_EQ(value(R"(<string name="e">\@home \? a\\b\r\tc</string>)"), "@home ? a\\br\tc");
}

TEST(AndroidStrings, BackslashEscapesResolveInOnePass) {
    // An escaped backslash is a backslash, never the start of a "\u" escape.
    EXPECT_EQ(androidUnescaped(R"(C:\\u00e9)"), R"(C:\u00e9)");
    EXPECT_EQ(androidUnescaped(R"(\u005Cn)"), "\\n");
    // A surrogate pair written as two escapes is one character; lone halves are not decoded.
    EXPECT_EQ(androidUnescaped(R"(\uD83D\uDE00!)"), "\U0001F600!");
    EXPECT_EQ(androidUnescaped(R"(\uDE00\uD83D)"), "uDE00uD83D");
    EXPECT_EQ(androidUnescaped("end\\"), "end");
    EXPECT_EQ(androidUnescaped("plain"), "plain");
    EXPECT_EQ(unescaped(R"(\n\t\r\\\x)", {{U'r', U'R'}}), "ntR\\x");
    EXPECT_EQ(unescaped(R"(\n\t\")", escapeTable()), "\n\t\"");
}

TEST(AndroidStrings, KeysOfProductsPluralsAndArrays) {
    const auto strings = read(R"(
        <string name="p" product="tablet">T</string>
        <string name="p">P</string>
        <plurals name="days"><item quantity="one">1 day</item><item quantity="other">%d days</item><item>x</item></plurals>
        <string-array name="c"><item>@string/x</item><item>Red</item></string-array>
        <array name="d"><item>One</item><item>@null</item><item>Three</item></array>
        <integer-array name="i"><item>1</item></integer-array>
        <bool name="b">true</bool>
        <string>no name</string>
        <string name="ref">@string/other</string>)");
    const KeyedTexts expected{{"p:tablet", "T"},         {"p", "P"},        {"days#one", "1 day"},
                              {"days#other", "%d days"}, {"days#", "x"},    {"c[1]", "Red"},
                              {"d[0]", "One"},           {"d[2]", "Three"}, {"ref", "@string/other"}};
    EXPECT_EQ(strings, expected);
}

TEST(AndroidStrings, UntranslatableStringsAreSkippedByExactMarks) {
    const auto strings = read(R"(
        <string name="n1" translatable="false">x</string>
        <string name="n2" translateable="false">x</string>
        <string name="n3" translatable="FALSE">kept</string>
        <string name="n4" translatable="true">kept</string>
        <plurals name="n5" translatable="false"><item quantity="one">x</item></plurals>)");
    EXPECT_EQ(strings, (KeyedTexts{{"n3", "kept"}, {"n4", "kept"}}));
}

TEST(AndroidStrings, MarkupInsideAValueKeepsItsContent) {
    EXPECT_EQ(value(R"(<string name="f">Hello <xliff:g id="n" example="Ann">%1$s</xliff:g>!</string>)"),
              "Hello %1$s!");
    EXPECT_EQ(value(R"(<string name="c"><![CDATA[<b>x</b>]]> y</string>)"), "<b>x</b> y");
    EXPECT_EQ(value(R"(<string name="h">a <b>bold</b> word</string>)"), "a bold word");
}

TEST(AndroidStrings, LaterEqualKeysReplaceEarlierOnes) {
    EXPECT_EQ(read(R"(<string name="k">first</string><string name="k">second</string>)"),
              (KeyedTexts{{"k", "second"}}));
}

TEST(AndroidStrings, TextsAreComposed) {
    EXPECT_EQ(value("<string name=\"k\">Cafe\u0301</string>"), "Caf\u00e9");
}

TEST(AndroidStrings, DocumentsWithoutEntriesAndBrokenDocuments) {
    EXPECT_TRUE(androidStrings("<resources/>").empty());
    EXPECT_EQ(androidStrings("<other><string name=\"a\"/></other>"), (KeyedTexts{{"a", ""}}));
    EXPECT_THROW(androidStrings("<resources><string name=\"a\">x</resources>"), XmlError);
}
