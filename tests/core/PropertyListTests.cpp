#include <gtest/gtest.h>

#include "core/PropertyList.h"

using namespace orvel;

namespace {
std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>";
}
} // namespace

TEST(PropertyList, KeepsTypesApart) {
    auto value = PropertyList::parse(plist("<dict><key>name</key><string>A/B</string><key>on</key><true/>"
                                           "<key>count</key><integer>-3</integer><key>ratio</key><real>0.5</real>"
                                           "<key>list</key><array><string>x</string></array></dict>"));
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["name"], "A/B");
    EXPECT_TRUE((*value)["on"].is_boolean());
    EXPECT_EQ((*value)["count"].get<int>(), -3);
    EXPECT_DOUBLE_EQ((*value)["ratio"].get<double>(), 0.5);
    EXPECT_EQ((*value)["list"].size(), 1u);
}

TEST(PropertyList, HostileInputReadsAsNothingOrAsText) {
    EXPECT_FALSE(PropertyList::parse(""));
    EXPECT_FALSE(PropertyList::parse("\"k\" = \"v\";"));
    EXPECT_FALSE(PropertyList::parse(plist("<dict><key>a</key>")));
    EXPECT_FALSE(PropertyList::parse("bplist00\x01\x02"));
    // A NUL inside a string must not abort the process (the library asserts on it in some accessors).
    auto withNul = PropertyList::parse(plist(std::string("<dict><key>k</key><string>x\0y</string></dict>", 46)));
    ASSERT_TRUE(withNul);
    EXPECT_TRUE((*withNul)["k"].get<std::string>().starts_with("x"));
}
