#include <gtest/gtest.h>

#include "engine/reference/MozillaStrings.h"

using namespace orvel::SoftwareFormats;

TEST(MozillaStrings, ReaderFollowsThePathsEnding) {
    EXPECT_EQ(mozillaStrings("<!ENTITY a \"A\">", "chrome/x.dtd"), (KeyedTexts{{"a", "A"}}));
    EXPECT_EQ(mozillaStrings("a = A", "x.properties"), (KeyedTexts{{"a", "A"}}));
    EXPECT_EQ(mozillaStrings("a = A", "x.ftl"), (KeyedTexts{{"a", "A"}}));
    EXPECT_TRUE(mozillaStrings("a = A", "x.DTD").empty());
    EXPECT_TRUE(mozillaStrings("a = A", "x.ini").empty());
    EXPECT_EQ(mozillaStrings("a = \xff\xfeok", "x.properties"), (KeyedTexts{{"a", "\uFFFD\uFFFDok"}}));
}

TEST(MozillaStrings, NumericReferences) {
    EXPECT_EQ(numericReferencesDecoded("&#x41;&#66;&#xD800;"), "AB&#xD800;");
    EXPECT_EQ(numericReferencesDecoded("&#X41; &#x110000; &#99999999999; &#; &#x;"),
              "&#X41; &#x110000; &#99999999999; &#; &#x;");
    EXPECT_EQ(numericReferencesDecoded("&#x1F600;&#233"), "\U0001F600&#233");
    EXPECT_EQ(numericReferencesDecoded("no references"), "no references");
}

TEST(DtdStrings, EntityValuesAndReferences) {
    const auto read = dtdStrings(R"(
<!-- <!ENTITY commented "no"> -->
<!ENTITY a.label "Save &amp; Close">
<!ENTITY b 'It&apos;s'>
<!ENTITY c "&#x41;&#66;&#xD800;">
<!ENTITY d "&brandShortName; Help">
<!ENTITY e   "&lt;b&gt; &quot;x&quot; &amp;lt;"  >
<!ENTITY f.multi-line "one
  two">
<!ENTITY a.label "Save and Close">
<!ENTITY broken "unclosed>
<!ENTITY g "">)");
    const KeyedTexts expected{{"a.label", "Save and Close"},
                              {"b", "It's"},
                              {"c", "AB&#xD800;"},
                              {"d", "&brandShortName; Help"},
                              {"e", "<b> \"x\" &lt;"},
                              {"f.multi-line", "one\n  two"},
                              {"g", ""}};
    EXPECT_EQ(read, expected);
}

TEST(DtdStrings, UnclosedCommentKeepsTheRest) {
    EXPECT_EQ(dtdStrings("<!-- a --><!ENTITY a \"A\"><!-- open <!ENTITY b \"B\">"),
              (KeyedTexts{{"a", "A"}, {"b", "B"}}));
}

TEST(PropertiesStrings, CommentsSeparatorsAndContinuations) {
    const auto read = propertiesStrings("# comment = no\n"
                                        "  ! note = no\n"
                                        "key = value \\\n"
                                        "    continued\n"
                                        "path = C:\\\\temp\\\\\n"
                                        "next=1\r\n"
                                        "x: \\u00e9\n"
                                        "a b = c\n"
                                        "= no key\n"
                                        "no separator\n"
                                        "colon:has=both\n"
                                        "trail = kept  \n"
                                        "esc = \\tTab\\nLine\\:\\\\\n"
                                        "last = end \\");
    const KeyedTexts expected{{"key", "value continued"},
                              {"path", "C:\\temp\\"},
                              {"next", "1"},
                              {"x", "é"},
                              {"colon", "has=both"},
                              {"trail", "kept  "},
                              {"esc", "\tTab\nLine:\\"},
                              {"last", "end "}};
    EXPECT_EQ(read, expected);
}

TEST(FluentStrings, MessagesAttributesAndContinuations) {
    const auto read = fluentStrings("# comment\n"
                                    "hello = Hello\n"
                                    "    .title = Greeting\n"
                                    "    .accesskey = H\n"
                                    "menu =\n"
                                    "    .label = Menu\n"
                                    "-brand = Firefox\n"
                                    "multi = First\n"
                                    "    second line\n"
                                    "\n"
                                    "    not attached\n"
                                    "bad id = x\n"
                                    "    .orphan = y\n"
                                    "çé_1 = accented\n"
                                    "count = { $n ->\n"
                                    "    [one] One file\n"
                                    "   *[other] { $n } files\n"
                                    "}\n");
    const KeyedTexts expected{
        {"hello", "Hello"},       {"hello.title", "Greeting"},
        {"hello.accesskey", "H"}, {"menu.label", "Menu"},
        {"-brand", "Firefox"},    {"multi", "First second line"},
        {"çé_1", "accented"},     {"count", "{ $n -> [one] One file *[other] { $n } files"}};
    EXPECT_EQ(read, expected);
}

TEST(FluentStrings, ContinuationOfAnAttributeAndOfAnEmptyValue) {
    EXPECT_EQ(fluentStrings("a =\n  .b = x\n  more\nc =\n  body\n"),
              (KeyedTexts{{"a.b", "x more"}, {"c", "body"}}));
}
