#include "Orvel/state/LanguageNames.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

using namespace std::string_literals;

TEST(LanguageNames, NormalizedLanguageKeepsChineseScriptsAndBrazilianPortugueseOnly) {
    struct Case {
        std::string identifier;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"zh-Hans", "zh-Hans"},
        {"zh_CN", "zh-Hans"},
        {"zh", "zh-Hans"},
        {"zh-Hant", "zh-Hant"},
        {"zh-TW", "zh-Hant"},
        {"zh_HK", "zh-Hant"},
        {"zh-MO", "zh-Hant"},
        {"zh-Hant-CN", "zh-Hant"},
        {"zh-hans-tw", "zh-Hans"},
        {"pt-BR", "pt-BR"},
        {"pt_BR", "pt-BR"},
        {"pt-br", "pt-BR"},
        {"pt-PT", "pt"},
        {"pt", "pt"},
        {"de-AT", "de"},
        {"sr-Latn", "sr"},
        {"es-419", "es"},
        {"en", "en"},
        {"DE", "de"},
        {"fil-PH", "fil"},
        {"abcde", "abcde"},
        // Whatever follows a sound language subtag is dropped, so none of it reaches a file name.
        {"de-../x", "de"},
        {"", std::nullopt},
        {"a", std::nullopt},
        {"abcd", std::nullopt},
        {"abcdefghi", std::nullopt},
        {"../x", std::nullopt},
        {"de/../../x", std::nullopt},
        {"..", std::nullopt},
        {"-de", std::nullopt},
        {"d3", std::nullopt},
        {"de\0x"s, std::nullopt},
        {"\0"s, std::nullopt},
        {"dé", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(normalizedLanguage(c.identifier), c.expected);
    }
}

TEST(LanguageNames, DisplayNameIsInTheInterfaceLanguageOrTheCodeItself) {
    struct Case {
        std::optional<std::string> interface;
        std::string code;
        std::string expected;
    };
    const std::vector<Case> cases{
        {std::nullopt, "fr", "French"},
        {"de", "fr", "Französisch"},
        {std::nullopt, "pt-BR", "Portuguese (Brazil)"},
        {std::nullopt, "zh-Hant", "Chinese (Traditional)"},
        {"fr", "de", "allemand"},
        {std::nullopt, "xx", "xx"},
        {"de", "qqq", "qqq"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code + " in " + c.interface.value_or("no configured language"));
        setInterfaceLanguage(c.interface);
        EXPECT_EQ(interfaceLanguage(), c.interface.value_or("en"));
        EXPECT_EQ(displayName(c.code), c.expected);
    }
    setInterfaceLanguage(std::nullopt);
}

} // namespace
} // namespace orvel
