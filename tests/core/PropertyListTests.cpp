#include <gtest/gtest.h>

#include "core/PropertyList.h"
#include "tests/support/BinaryPlistBuilder.h"

using namespace orvel;

namespace {
std::string plist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>";
}
} // namespace

TEST(PropertyList, KeepsTypesApart) {
    auto value =
        PropertyList::parse(plist("<dict><key>name</key><string>A/B</string><key>on</key><true/>"
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
    auto withNul =
        PropertyList::parse(plist(std::string("<dict><key>k</key><string>x\0y</string></dict>", 46)));
    ASSERT_TRUE(withNul);
    EXPECT_TRUE((*withNul)["k"].get<std::string>().starts_with("x"));
}

namespace {

using orvel::testing::BinaryPlistBuilder;

// Each level refers twice to the level below: 40 levels expand to 2^40 nodes from a few hundred bytes.
std::string sharedChildren(int levels) {
    BinaryPlistBuilder b;
    auto below = b.ascii("x");
    for (int i = 0; i < levels; ++i)
        below = b.array({below, below});
    return b.bytes(below);
}

std::string binaryNesting(int levels) {
    BinaryPlistBuilder b;
    auto below = b.array({});
    for (int i = 0; i < levels; ++i)
        below = b.array({below});
    return b.bytes(below);
}

std::string selfReference() {
    BinaryPlistBuilder b;
    const auto self = b.reserve();
    b.set(self, b.array({self}));
    return b.bytes(self);
}

std::string sharedLongText(int references) {
    BinaryPlistBuilder b;
    const auto text = b.ascii(std::string(1000, 'x'));
    return b.bytes(b.array(std::vector<BinaryPlistBuilder::Ref>(static_cast<std::size_t>(references), text)));
}

std::string arrays(int levels) {
    std::string body;
    for (int i = 0; i < levels; ++i)
        body += "<array>";
    for (int i = 0; i < levels; ++i)
        body += "</array>";
    return body;
}

std::string xmlNesting(int levels) {
    return plist(arrays(levels));
}

} // namespace

// The library copies shared objects and recurses into containers: these files would cost gigabytes or
// overflow the stack if it were given them.
TEST(PropertyList, MeasuresTheExpandedTreeBeforeParsing) {
    BinaryPlistBuilder small;
    const std::string smallBinary = small.bytes(small.dict({small.ascii("a")}, {small.ascii("b")}));
    BinaryPlistBuilder nulKey;
    const std::string keyHoldingNul =
        nulKey.bytes(nulKey.dict({nulKey.utf16(std::u16string(u"a\0b", 3))}, {nulKey.ascii("x")}));
    BinaryPlistBuilder dangling;
    const std::string danglingReference = dangling.bytes(dangling.array({999}));
    struct Case {
        std::string name;
        std::string bytes;
        bool parses;
        bool overLimits;
    };
    const std::vector<Case> cases{
        {"small binary dictionary", smallBinary, true, false},
        {"shared children, 10 levels", sharedChildren(10), true, false},
        // About a million nodes from 436 bytes: seconds of copying in the library.
        {"shared children, 19 levels", sharedChildren(19), false, true},
        {"shared children, 40 levels", sharedChildren(40), false, true},
        {"binary nesting within the depth limit", binaryNesting(200), true, false},
        {"100,000 levels of binary nesting", binaryNesting(100000), false, true},
        {"an array holding itself", selfReference(), false, true},
        {"one long text shared 70,000 times", sharedLongText(70000), false, true},
        {"a reference past the table", danglingReference, false, false},
        // The library asserts on such a key instead of refusing the file.
        {"a key holding NUL", keyHoldingNul, false, false},
        {"truncated table", smallBinary.substr(0, smallBinary.size() - 1), false, false},
        {"XML nesting within the depth limit", xmlNesting(200), true, false},
        {"a million levels of XML nesting", xmlNesting(1000000), false, true},
        {"unbalanced XML", plist("<array><array></array>"), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto parsed = PropertyList::parseWithinLimits(c.bytes);
        EXPECT_EQ(parsed.value.has_value(), c.parses);
        EXPECT_EQ(parsed.overLimits, c.overLimits);
    }
}

TEST(PropertyList, TopLevelScalarsSkipEveryContainerUnread) {
    BinaryPlistBuilder b;
    const auto deep = b.bytes(b.dict({b.ascii("CFBundleIdentifier"), b.utf16(u"N\u00E4me\U0001F600"),
                                      b.ascii("On"), b.ascii("Count"), b.ascii("Deep")},
                                     {b.ascii("com.example.Notes"), b.utf16(u"Caf\u00E9"), b.boolean(true),
                                      b.integer(7), b.array({b.array({})})}));
    struct Case {
        std::string name;
        std::string bytes;
        std::optional<json::Json> expected;
    };
    const std::vector<Case> cases{
        {"binary", deep,
         json::Json{{"CFBundleIdentifier", "com.example.Notes"},
                    {"N\u00E4me\U0001F600", "Caf\u00E9"},
                    {"On", true},
                    {"Count", 7}}},
        {"XML with references, CDATA and comments",
         plist("<dict><!-- <key>x</key> "
               "--><key>CFBundleIdentifier</key><string>com.example&amp;&#x41;&#66;</string>"
               "<key>Name</key><string><![CDATA[<b>]]>&lt;i&gt;</string><key>Empty</key><string/>"
               "<key>Deep</key>" +
               arrays(100000) + "<key>On</key><false/><key>Ratio</key><real>0.5</real></dict>"),
         json::Json{{"CFBundleIdentifier", "com.example&AB"},
                    {"Name", "<b><i>"},
                    {"Empty", ""},
                    {"On", false},
                    {"Ratio", 0.5}}},
        {"root is no dictionary", plist("<array><string>x</string></array>"), std::nullopt},
        {"key without a value", plist("<dict><key>a</key></dict>"), std::nullopt},
        {"not a property list", "\"k\" = \"v\";", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PropertyList::topLevelScalars(c.bytes), c.expected);
    }
}
