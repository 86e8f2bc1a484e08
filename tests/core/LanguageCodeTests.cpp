#include <gtest/gtest.h>

#include "core/LanguageCode.h"

using namespace orvel;

TEST(LanguageCode, OnlyLettersThenSubtagsOfLettersAndDigitsArePlausible) {
    const struct {
        std::string code;
        bool plausible;
    } cases[] = {
        {"de", true},
        {"pt-BR", true},
        {"PT_br", true},
        {"zh-Hant-HK", true},
        {"es-419", true},
        {"sr-Latn-RS", true},
        {"fil", true},
        {"", false},
        {"-", false},
        {"__", false},
        {"de-", false},
        {"-de", false},
        {"de--AT", false},
        {"de/../../x", false},
        {"../de", false},
        {"de.json", false},
        {"d e", false},
        {"419", false},
        {"1de", false},
        {"dé", false},
        {"de-abcdefghi", false},
        {"abcdefghi", false},
        {"abcdefgh-abcdefgh-12345678", true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(isPlausibleLanguageCode(row.code), row.plausible);
    }
    EXPECT_FALSE(isPlausibleLanguageCode(std::string_view("de\0x", 4)));
    std::string tooLong = "de";
    while (tooLong.size() <= 64)
        tooLong += "-abc";
    EXPECT_FALSE(isPlausibleLanguageCode(tooLong));
}
