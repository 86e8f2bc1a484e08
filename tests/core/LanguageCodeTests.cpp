#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LanguageCode.h"

using namespace orvel;

TEST(LanguageCode, OnlyCodesThatLookLikeLanguageCodesArePlausible) {
    struct Case {
        std::string code;
        bool plausible;
    };
    const std::vector<Case> cases{
        {"de", true},
        {"pt-BR", true},
        {"zh_Hans", true},
        {"es-419", true},
        {"sr-Latn-RS", true},
        {"Base", true},
        {"", false},
        {"-de", false},
        {"de-", false},
        {"de--CH", false},
        {"9de", false},
        {"de CH", false},
        {"..", false},
        {"../de", false},
        {"de/fr", false},
        {"de.lproj", false},
        {"dé", false},
        {std::string("de\0x", 4), false},
        {std::string(64, 'a'), true},
        {std::string(65, 'a'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(isPlausibleLanguageCode(c.code), c.plausible);
    }
}
