#include <gtest/gtest.h>

#include <unordered_set>

#include "core/FormatSpecifiers.h"

using namespace orvel;

namespace {
std::vector<std::string> raws(std::string_view text) {
    std::vector<std::string> out;
    for (const auto& s : FormatSpecifiers::parse(text))
        out.push_back(s.raw);
    return out;
}
} // namespace

TEST(FormatSpecifiers, PercentPairsAndLonePercentsAreText) {
    EXPECT_TRUE(raws("100%% sure").empty());
    EXPECT_TRUE(raws("%%d").empty());
    auto three = FormatSpecifiers::parse("%%%d");
    ASSERT_EQ(three.size(), 1u);
    EXPECT_EQ(three[0].raw, "%d");
    EXPECT_EQ(three[0].range, (regex::Range{2, 4}));
    EXPECT_TRUE(raws("% d").empty());
    EXPECT_TRUE(raws("50%").empty());
    EXPECT_TRUE(raws("%\u0301d").empty()); // a percent sign carrying a combining mark
}

TEST(FormatSpecifiers, PositionsTypesAndRanges) {
    auto s = FormatSpecifiers::parse("Hello %5$@!");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].raw, "%5$@");
    EXPECT_EQ(s[0].position, 5);
    EXPECT_EQ(s[0].type, "@");

    auto named = FormatSpecifiers::parse("%#@count@ and %1$#@files@");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].type, "#@count@");
    EXPECT_FALSE(named[0].position);
    EXPECT_EQ(named[1].type, "#@files@");
    EXPECT_EQ(named[1].position, 1);

    auto flags = FormatSpecifiers::parse("%-8.3lf %05d %.*f %#x %12d %hhu %lld");
    std::vector<std::string> types;
    for (const auto& f : flags)
        types.push_back(f.type);
    EXPECT_EQ(types, (std::vector<std::string>{"lf", "d", "f", "x", "d", "hhu", "lld"}));
    EXPECT_EQ(flags[0].raw, "%-8.3lf");
    EXPECT_FALSE(flags[4].position);
}

TEST(FormatSpecifiers, OddInputs) {
    auto empty = FormatSpecifiers::parse("%#@@");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].raw, "%#@");
    EXPECT_EQ(empty[0].type, "#@");

    auto huge = FormatSpecifiers::parse("%99999999999999999999$d");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_FALSE(huge[0].position);

    // Ranges are byte offsets into UTF-8.
    auto accented = FormatSpecifiers::parse("\u00E9t\u00E9 %@");
    ASSERT_EQ(accented.size(), 1u);
    EXPECT_EQ(accented[0].range, (regex::Range{6, 8}));
}

TEST(FormatSpecifiers, ClassesAndSignatures) {
    EXPECT_EQ(FormatSpecifiers::typeClass("lld"), "int");
    EXPECT_EQ(FormatSpecifiers::typeClass("D"), "int");
    EXPECT_EQ(FormatSpecifiers::typeClass("lu"), "uint");
    EXPECT_EQ(FormatSpecifiers::typeClass("x"), "hexx");
    EXPECT_EQ(FormatSpecifiers::typeClass("X"), "hexX");
    EXPECT_EQ(FormatSpecifiers::typeClass("Lf"), "float");
    EXPECT_EQ(FormatSpecifiers::typeClass("#@count@"), "#@count@");
    EXPECT_EQ(FormatSpecifiers::typeClass(""), "");
    EXPECT_EQ(FormatSpecifiers::signature("%1$@ has %2$d"), FormatSpecifiers::signature("%2$ld: %1$@"));
    EXPECT_EQ(FormatSpecifiers::signature("%1$@ has %2$d"), (std::vector<std::string>{"@", "int"}));
    EXPECT_NE(FormatSpecifiers::signature("%@"), FormatSpecifiers::signature("%s"));
}

TEST(FormatSpecifiers, CountPlaceholder) {
    EXPECT_EQ(FormatSpecifiers::countArgument("%@ has %d files"), 2);
    EXPECT_EQ(FormatSpecifiers::countValueType("%@ has %lu files"), "lu");
    EXPECT_FALSE(FormatSpecifiers::countArgument("%c items"));
    EXPECT_FALSE(FormatSpecifiers::countArgument("%D items"));
    EXPECT_EQ(FormatSpecifiers::countArgument("%2$d %1$@"), 2);
    EXPECT_EQ(FormatSpecifiers::countValueType("%2$d %1$@"), "d");
    EXPECT_FALSE(FormatSpecifiers::countValueType("no placeholders"));
}

TEST(FormatSpecifiers, EqualityIncludesTheRange) {
    auto twice = FormatSpecifiers::parse("%d and %d");
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_NE(twice[0], twice[1]);
    std::unordered_set<FormatSpecifier> set(twice.begin(), twice.end());
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(twice[0], FormatSpecifiers::parse("%d and %d")[0]);
    EXPECT_TRUE(twice[0].isWholeNumber());
    EXPECT_FALSE(FormatSpecifier{}.isWholeNumber());
}
