#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/apps/OverlaySources.h"

namespace orvel {
namespace {

// "e" with a combining acute accent, and the precomposed "é".
const std::string decomposed = "e\xCC\x81";
const std::string precomposed = "\xC3\xA9";

// The strings of the table "Main" with these keys, each English "<key> <n>" by its place.
std::vector<SourceString> stringsWithKeys(const std::vector<std::string>& keys) {
    std::vector<SourceString> strings;
    for (const std::string& key : keys) {
        SourceString string;
        string.table = "Main";
        string.key = key;
        string.text = key + " " + std::to_string(strings.size());
        strings.push_back(string);
    }
    return strings;
}

// One search asks for the keys in the order given; each finds the English of its string, or nothing.
TEST(OverlaySources, FindsEachIdInAnyOrderByItsCanonicalForm) {
    struct Case {
        const char* name;
        std::vector<std::string> keys;
        std::vector<std::pair<std::string, std::string>> askedAndFound;
    };
    const std::vector<Case> cases{
        {"ids in increasing order", {"c", "a", "b"}, {{"a", "a 1"}, {"b", "b 2"}, {"c", "c 0"}}},
        {"an id after a larger one", {"a", "b", "c"}, {{"c", "c 2"}, {"a", "a 0"}, {"b", "b 1"}, {"c", "c 2"}}},
        {"ids the app does not have", {"b", "d"}, {{"a", ""}, {"b", "b 0"}, {"c", ""}, {"d", "d 1"}, {"e", ""}}},
        {"the first of equal ids counts", {"a", "a"}, {{"a", "a 0"}}},
        {"a decomposed id finds the precomposed string",
         {"a", precomposed, "z"},
         {{"a", "a 0"}, {decomposed, precomposed + " 1"}, {"z", "z 2"}}},
        {"a precomposed id finds the decomposed string, the first of the two",
         {decomposed, precomposed},
         {{precomposed, decomposed + " 0"}}},
        {"no strings", {}, {{"a", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<SourceString> strings = stringsWithKeys(c.keys);
        const OverlaySources sources(strings);
        OverlaySources::Search search(sources);
        for (const auto& [key, english] : c.askedAndFound) {
            const SourceString* found = search.find(SourceString::id("Main", key));
            EXPECT_EQ(found ? found->text : "", english) << key;
        }
    }
}

} // namespace
} // namespace orvel
