#include <gtest/gtest.h>

#include "Orvel/state/DeepLink.h"

namespace orvel {
namespace {

TEST(DeepLinkTest, ParsesOnlyOurLinksAndTakesTheirFirstValues) {
    struct Case {
        const char* url;
        std::optional<DeepLink> expected;
    };
    const std::vector<Case> cases = {
        {"orvel://translate?app=com.example.Notes&language=de", DeepLink{"com.example.Notes", "de"}},
        {"orvel://translate?app=com.example.Notes", DeepLink{"com.example.Notes", std::nullopt}},
        // Letter case is kept, in the identifier and the language.
        {"orvel://translate?app=COM.Example.NOTES&language=pt_BR", DeepLink{"COM.Example.NOTES", "pt_BR"}},
        {"orvel://translate?language=fr&app=X", DeepLink{"X", "fr"}},
        // The first of repeated items counts.
        {"orvel://translate?app=X&app=Y&language=de&language=fr", DeepLink{"X", "de"}},
        // Items without a value, or with an empty one, count as absent.
        {"orvel://translate?app=X&language", DeepLink{"X", std::nullopt}},
        {"orvel://translate?app=X&language=", DeepLink{"X", std::nullopt}},
        {"orvel://translate?app", std::nullopt},
        {"orvel://translate?app=", std::nullopt},
        {"orvel://translate?app&app=X", std::nullopt},
        {"orvel://translate?language=de", std::nullopt},
        {"orvel://translate?", std::nullopt},
        {"orvel://translate", std::nullopt},
        // Scheme and host are compared exactly.
        {"ORVEL://translate?app=X", std::nullopt},
        {"orvel://Translate?app=X", std::nullopt},
        {"orvel://open?app=X", std::nullopt},
        {"https://translate?app=X", std::nullopt},
        {"orvel:translate?app=X", std::nullopt},
        {"orvel://translatex?app=X", std::nullopt},
        {"", std::nullopt},
        {"app=X", std::nullopt},
        // A path after the host, a port, and a fragment after the query change nothing.
        {"orvel://translate/?app=X#language=de", DeepLink{"X", std::nullopt}},
        {"orvel://translate:80?app=X", DeepLink{"X", std::nullopt}},
        // The host is "evil" here, not "translate".
        {"orvel://translate@evil?app=X", std::nullopt},
        // Names and values are percent-decoded; a plus sign stays one.
        {"orvel://translate?%61pp=com.example%2ENotes&language=zh-Hant+x",
         DeepLink{"com.example.Notes", "zh-Hant+x"}},
        {"orvel://translate?app=X&language=%E4%B8%AD", DeepLink{"X", "\xE4\xB8\xAD"}},
        // Malformed input makes the whole link invalid.
        {"orvel://translate?app=X&language=%4", std::nullopt},
        {"orvel://translate?app=X&language=%ZZ", std::nullopt},
        {"orvel://translate?app=X&language=%FF", std::nullopt},
        {"orvel://translate?app=X Y", std::nullopt},
        {"orvel://translate?app=X\n", std::nullopt},
        {"orvel://translate?app=\xFF", std::nullopt},
        // Control characters count when written as escapes too, and in any position.
        {"orvel://translate?app=X%00Y", std::nullopt},
        {"orvel://translate?app=X&language=de%0a", std::nullopt},
        {"orvel://translate?app=X%7F", std::nullopt},
        {"orvel://translate?app=X%C2%85", std::nullopt},
        {"orvel://translate?app=X\xC2\x9F", std::nullopt},
        {"orvel://translate?other=%1B&app=X", std::nullopt},
        {"orvel://trans%00late?app=X", std::nullopt},
        {"orvel://translate?app=X%C2%A0", DeepLink{"X\xC2\xA0", std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(parseDeepLink(c.url), c.expected);
    }
}

} // namespace
} // namespace orvel
