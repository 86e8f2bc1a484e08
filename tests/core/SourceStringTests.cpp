#include <gtest/gtest.h>

#include <unordered_set>

#include "core/SourceString.h"

using namespace orvel;

namespace {
SourceString sample() {
    return {"Main", "greeting", "Hello", std::nullopt, std::nullopt, true, false};
}
} // namespace

TEST(SourceStringId, IsTableSeparatorKey) {
    const SourceString s = sample();
    EXPECT_EQ(s.id(), std::string("Main\x1Fgreeting"));
    EXPECT_EQ(SourceString::id("Main", "greeting"), s.id());
    EXPECT_EQ(SourceString::id("", "k"), std::string("\x1Fk"));
}

TEST(SourceStringId, SplitsAtTheFirstSeparatorSoKeysMayHoldOne) {
    const std::string key = std::string("a\x1F") + "b";
    const std::string id = SourceString::id("T", key);
    auto [table, rest] = SourceString::splitId(id);
    EXPECT_EQ(table, "T");
    EXPECT_EQ(rest, key);
    auto [noTable, whole] = SourceString::splitId("plain");
    EXPECT_EQ(noTable, "");
    EXPECT_EQ(whole, "plain");
}

TEST(SourceStringValue, EqualityAndHashCoverEveryField) {
    SourceString a = sample(), b = sample();
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<SourceString>{}(a), std::hash<SourceString>{}(b));
    b.discovered = true;
    EXPECT_NE(a, b);
    b = sample();
    b.plural = std::map<std::string, std::string>{};
    EXPECT_NE(a, b); // an empty plural map is not an absent one
    b = sample();
    b.comment = "note";
    EXPECT_NE(a, b);
    std::unordered_set<SourceString> set{a, b, sample()};
    EXPECT_EQ(set.size(), 2u);
}

TEST(SourceStringJson, RoundTripsAndLeavesAbsentOptionalsOut) {
    SourceString s = sample();
    json::Json j = json::encode(s);
    EXPECT_FALSE(j.contains("plural"));
    EXPECT_FALSE(j.contains("comment"));
    EXPECT_EQ(json::decode<SourceString>(j), s);

    s.plural = std::map<std::string, std::string>{{"one", "%d file"}, {"other", "%d files"}};
    s.comment = "Shown in the toolbar";
    EXPECT_EQ(json::decode<SourceString>(json::parse(json::dump(json::encode(s)))), s);
}

TEST(SourceStringJson, RequiredFieldsMustBePresent) {
    auto decodeText = [](const char* text) { return json::decode<SourceString>(json::parse(text)); };
    EXPECT_THROW(decodeText(R"({"table":"T","key":"k","text":"t","discovered":false})"), json::DecodingError);
    auto minimal =
        decodeText(R"({"table":"T","key":"k","text":"t","translate":true,"discovered":false,"plural":null})");
    EXPECT_FALSE(minimal.plural);
    EXPECT_FALSE(minimal.comment);
}
