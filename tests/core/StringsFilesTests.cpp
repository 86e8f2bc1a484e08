#include <gtest/gtest.h>

#include "core/StringsFiles.h"
#include "tests/support/ScratchFolder.h"

using orvel::testing::readBytes;
using orvel::testing::ScratchFolder;
using orvel::testing::writeBytes;

using namespace orvel;
using StringsFiles::PluralEntry;

namespace {

std::string stringsdictFile(const std::string& keyBody) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
           "version=\"1.0\">\n<dict>\n<key>k</key>\n<dict>\n" +
           keyBody + "</dict>\n</dict>\n</plist>\n";
}

} // namespace

TEST(StringsFilesEscape, FollowsTheEscapeTable) {
    EXPECT_EQ(StringsFiles::escape("a\\b"), "a\\\\b");
    EXPECT_EQ(StringsFiles::escape("say \"hi\""), "say \\\"hi\\\"");
    EXPECT_EQ(StringsFiles::escape("line\nnext\rback\ttab"), "line\\nnext\\rback\\ttab");
    EXPECT_EQ(StringsFiles::escape("bell\a"), "bell\\U0007");
    EXPECT_EQ(StringsFiles::escape(std::string("\x01\x1F\0", 3)), "\\U0001\\U001F\\U0000");
    EXPECT_EQ(StringsFiles::escape("\x1B"), "\\U001B");
    EXPECT_EQ(StringsFiles::escape("é 😀 \u00A0 \x7F ' /*"), "é 😀 \u00A0 \x7F ' /*");
    EXPECT_EQ(StringsFiles::escape("bad \xFF"), "bad \uFFFD");
}

TEST(StringsFilesText, SortsKeysByCodePointsOfTheComposedForm) {
    const StringsFiles::SimpleTable table = {{"b", "1"}, {"B", "2"}, {"a", "3"}, {"é", "4"}};
    EXPECT_EQ(StringsFiles::stringsText(table),
              "\"B\" = \"2\";\n\"a\" = \"3\";\n\"b\" = \"1\";\n\"é\" = \"4\";\n");
    // A decomposed "é" sorts as U+00E9, after "f", but is written as given.
    const StringsFiles::SimpleTable decomposed = {{"e\u0301", "x"}, {"f", "y"}};
    EXPECT_EQ(StringsFiles::stringsText(decomposed), "\"f\" = \"y\";\n\"e\u0301\" = \"x\";\n");
}

TEST(StringsFilesText, WritesExactBytes) {
    ScratchFolder folder;
    const auto path = folder / "one.strings";
    StringsFiles::writeStrings({{"k", "v"}}, path);
    EXPECT_EQ(readBytes(path), "\"k\" = \"v\";\n");

    StringsFiles::writeStrings({{"q\"", "a\nb"}, {"t", "\\"}}, path);
    EXPECT_EQ(readBytes(path), "\"q\\\"\" = \"a\\nb\";\n\"t\" = \"\\\\\";\n");

    StringsFiles::writeStrings({}, path);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(StringsFilesText, RoundTripsEveryCharacter) {
    ScratchFolder folder;
    const auto path = folder / "x.lproj" / "Main.strings";
    std::string controls;
    for (char c = 0; c < 0x20; ++c)
        controls += c;
    const StringsFiles::SimpleTable table = {
        {"plain", "Hello"},
        {"quotes \"and\" \\slashes\\", "'single' /* not a comment */ // nor this"},
        {"controls", controls + "\x7F"},
        {"ünïcødé", "😀 emoji, \u00A0no-break, 中文"},
        {"empty", ""},
        {"", "empty key"},
        {"semi;colon = equals", "{ braces } ( parens ) <data>"},
    };
    StringsFiles::writeStrings(table, path);
    EXPECT_EQ(StringsFiles::readStrings(path), table);
}

TEST(StringsFilesRead, UnreadableFilesReadAsEmpty) {
    ScratchFolder folder;
    EXPECT_TRUE(StringsFiles::readStrings(folder / "missing.strings").empty());
    EXPECT_TRUE(StringsFiles::readStrings(folder.path()).empty());
    EXPECT_TRUE(StringsFiles::readStringsdict(folder / "missing.stringsdict").empty());

    const auto path = folder / "bad.strings";
    for (const std::string bytes :
         {"\"a\" = \"b\"", "\"a\" = \"b\"; \"c\" = { \"d\" = \"e\"; };", "\"a\" = \"b",
          "\"a\" = \"b\"; /* open", "<plist version=\"1.0\"><dict><key>a</key>"}) {
        writeBytes(path, bytes);
        EXPECT_TRUE(StringsFiles::readStrings(path).empty()) << bytes;
        EXPECT_TRUE(StringsFiles::readStringsdict(path).empty()) << bytes;
    }
}

TEST(StringsFilesRead, AcceptsPropertyListsWithTextValuesOnly) {
    ScratchFolder folder;
    const auto path = folder / "plist.strings";
    writeBytes(path, "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>a</key><string>b</string>"
                     "<key>c</key><string>d&amp;e</string></dict></plist>");
    EXPECT_EQ(StringsFiles::readStrings(path), (StringsFiles::SimpleTable{{"a", "b"}, {"c", "d&e"}}));
    writeBytes(path, "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>a</key><string>b</string>"
                     "<key>c</key><integer>1</integer></dict></plist>");
    EXPECT_TRUE(StringsFiles::readStrings(path).empty());
}

// Keys name catalog strings by their ids and must come back as written, decomposed or not.
TEST(StringsFilesRead, ComposesTextsButKeepsKeysAsWritten) {
    ScratchFolder folder;
    const auto path = folder / "nfd.strings";
    writeBytes(path, "\"Cafe\u0301\" = \"cre\u0300me\";\n");
    EXPECT_EQ(StringsFiles::readStrings(path), (StringsFiles::SimpleTable{{"Cafe\u0301", "crème"}}));

    const auto dictPath = folder / "nfd.stringsdict";
    StringsFiles::writeStringsdict({{"Cafe\u0301 %d", {{{"other", "cre\u0300mes"}}, "d", 1}}}, dictPath);
    EXPECT_EQ(StringsFiles::readStringsdict(dictPath),
              (StringsFiles::PluralTable{{"Cafe\u0301 %d", {{{"other", "crèmes"}}, "d", 1}}}));
}

TEST(Stringsdict, BuildsTheFormatFromTheArgument) {
    const StringsFiles::PluralTable table = {
        {"one", {{{"one", "%lld file"}, {"other", "%lld files"}}, "lld", 1}},
        {"zero", {{{"other", "x"}}, "d", 0}},
        {"negative", {{}, "d", -4}},
        {"third", {{{"few", "f"}}, "ld", 3}},
    };
    const auto plist = StringsFiles::stringsdictPlist(table);
    EXPECT_EQ(plist["one"]["NSStringLocalizedFormatKey"], "%#@count@");
    EXPECT_EQ(plist["zero"]["NSStringLocalizedFormatKey"], "%#@count@");
    EXPECT_EQ(plist["negative"]["NSStringLocalizedFormatKey"], "%#@count@");
    EXPECT_EQ(plist["third"]["NSStringLocalizedFormatKey"], "%3$#@count@");
    const json::Json expectedVariable = {{"NSStringFormatSpecTypeKey", "NSStringPluralRuleType"},
                                         {"NSStringFormatValueTypeKey", "lld"},
                                         {"one", "%lld file"},
                                         {"other", "%lld files"}};
    EXPECT_EQ(plist["one"]["count"], expectedVariable);
    EXPECT_EQ(plist["negative"]["count"].size(), 2u);
}

TEST(Stringsdict, RoundTripsThroughTheFile) {
    ScratchFolder folder;
    const auto path = folder / "deep" / "de.lproj" / "Localizable.stringsdict";
    StringsFiles::PluralTable table = {
        {"files", {{{"one", "%lld Datei"}, {"other", "%lld Dateien"}}, "lld", 1}},
        {"second", {{{"zero", "none"}, {"two", "two"}, {"many", "<many> & \"more\""}}, "d", 2}},
        {"Ünïcødé key & <xml>", {{{"other", "😀 \u00A0"}}, "lu", 12}},
        {"empty forms", {{}, "lld", 1}},
    };
    StringsFiles::writeStringsdict(table, path);
    EXPECT_EQ(StringsFiles::readStringsdict(path), table);

    // Argument 0 is written like 1 and so comes back as 1.
    StringsFiles::writeStringsdict({{"k", {{{"other", "x"}}, "d", 0}}}, path);
    EXPECT_EQ(StringsFiles::readStringsdict(path).at("k").argument, 1);
}

TEST(Stringsdict, ControlCharactersKeepTheFileWellFormed) {
    ScratchFolder folder;
    const auto path = folder / "c.stringsdict";
    const StringsFiles::PluralTable table = {
        {"k\x01",
         {{{"one", "a\rb\r\nc\td\ne"}, {"other", std::string("bell\a nul\0 esc\x1B", 15)}}, "lld", 1}},
    };
    StringsFiles::writeStringsdict(table, path);
    const auto read = StringsFiles::readStringsdict(path);
    ASSERT_EQ(read.size(), 1u);
    const auto& [key, entry] = *read.begin();
    EXPECT_EQ(key, "k\uFFFD");
    EXPECT_EQ(entry.forms.at("one"), "a\rb\r\nc\td\ne");
    EXPECT_EQ(entry.forms.at("other"), "bell\uFFFD nul\uFFFD esc\uFFFD");
}

TEST(Stringsdict, ReadsOnlyThePartsItNeeds) {
    ScratchFolder folder;
    const auto path = folder / "r.stringsdict";
    const auto read = [&](const std::string& body) {
        writeBytes(path, stringsdictFile(body));
        return StringsFiles::readStringsdict(path);
    };

    // A sentence around the placeholder: only the forms are kept; the variable has its own name.
    auto table = read("<key>NSStringLocalizedFormatKey</key><string>You have %2$#@items@ left</string>"
                      "<key>items</key><dict><key>NSStringFormatValueTypeKey</key><string>d</string>"
                      "<key>one</key><string>one item</string><key>other</key><string>%d items</string>"
                      "<key>note</key><string>not a category</string></dict>");
    EXPECT_EQ(table.at("k"), (PluralEntry{{{"one", "one item"}, {"other", "%d items"}}, "d", 2}));

    // No placeholder: the variable is "count" at argument 1; no value type gives "lld".
    table = read(
        "<key>NSStringLocalizedFormatKey</key><string>plain</string>"
        "<key>count</key><dict><key>few</key><string>f</string><key>many</key><integer>3</integer></dict>");
    EXPECT_EQ(table.at("k"), (PluralEntry{{{"few", "f"}}, "lld", 1}));

    // No category at all still gives an entry; an overlong position gives argument 1.
    table = read("<key>NSStringLocalizedFormatKey</key><string>%99999999999999999999$#@n@</string>"
                 "<key>n</key><dict/>");
    EXPECT_EQ(table.at("k"), (PluralEntry{{}, "lld", 1}));

    // Unusable keys are skipped.
    EXPECT_TRUE(read("<key>NSStringLocalizedFormatKey</key><integer>1</integer>").empty());
    EXPECT_TRUE(read("<key>NSStringLocalizedFormatKey</key><string>%#@v@</string>"
                     "<key>count</key><dict><key>one</key><string>x</string></dict>")
                    .empty());
    EXPECT_TRUE(
        read("<key>NSStringLocalizedFormatKey</key><string>%#@v@</string><key>v</key><string>x</string>")
            .empty());
}

TEST(Stringsdict, SkipsBadKeysAndReadsTheOthers) {
    ScratchFolder folder;
    const auto path = folder / "mixed.stringsdict";
    writeBytes(path, "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict>"
                     "<key>bad</key><string>x</string>"
                     "<key>empty</key><dict/>"
                     "<key>good</key><dict><key>NSStringLocalizedFormatKey</key><string>%#@count@</string>"
                     "<key>count</key><dict><key>other</key><string>o</string></dict></dict>"
                     "</dict></plist>");
    const auto table = StringsFiles::readStringsdict(path);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table.at("good").forms.at("other"), "o");
}
