#include <gtest/gtest.h>

#include "core/Languages.h"
#include "core/PluralRules.h"

using namespace orvel;
using Categories = std::vector<std::string>;

TEST(PluralRules, BaseCodeDecidesTheRow) {
    EXPECT_EQ(PluralRules::categories("pt-BR"), (Categories{"one", "many", "other"}));
    EXPECT_EQ(PluralRules::categories("pt_PT"), PluralRules::categories("pt"));
    EXPECT_EQ(PluralRules::categories("zh-Hant"), (Categories{"other"}));
    EXPECT_EQ(PluralRules::categories("sr-Latn"), (Categories{"one", "few", "other"}));
    EXPECT_EQ(PluralRules::categories("RU"), (Categories{"one", "few", "many", "other"}));
    EXPECT_EQ(PluralRules::categories("-pl"), (Categories{"one", "few", "many", "other"}));
    EXPECT_EQ(PluralRules::categories("ar"), PluralRules::allCategories());
    EXPECT_EQ(PluralRules::categories("sl"), (Categories{"one", "two", "few", "other"}));
    EXPECT_EQ(PluralRules::categories("lv"), (Categories{"zero", "one", "other"}));
    EXPECT_EQ(PluralRules::categories("ga"), (Categories{"one", "two", "few", "many", "other"}));
    EXPECT_EQ(PluralRules::categories("he"), (Categories{"one", "two", "other"}));
}

TEST(PluralRules, TheLocaleDataGiveTheCategoriesThatACountChooses) {
    const std::vector<std::pair<std::string, Categories>> cases{
        {"gd", {"one", "two", "few", "other"}},
        {"br", {"one", "two", "few", "many", "other"}},
        {"kw", {"zero", "one", "two", "few", "many", "other"}},
        {"pt-PT", {"one", "many", "other"}},
        {"hi", {"one", "other"}},
        // "many" of these is for fractions alone.
        {"cs", {"one", "few", "other"}},
        {"lt", {"one", "few", "other"}},
        // Codes that are no language tag never reach the locale data.
        {"ro." + std::string(200, 'x'), {"one", "other"}},
        {".\x80ro\n{\"id\":" + std::string(200, ':'), {"one", "other"}},
        {"ro@" + std::string(200, 'x'), {"one", "other"}},
    };
    for (const auto& [code, categories] : cases)
        EXPECT_EQ(PluralRules::categories(code), categories) << code.substr(0, 8);
}

TEST(PluralRules, UnknownAndDegenerateCodesGetOneAndOther) {
    for (const char* code : {"", "-", "_-_", "de", "en", "xx"})
        EXPECT_EQ(PluralRules::categories(code), (Categories{"one", "other"})) << code;
    EXPECT_EQ(PluralRules::allCategories().front(), "zero");
    EXPECT_EQ(PluralRules::allCategories().back(), "other");
    EXPECT_EQ(PluralRules::canonicalIndex("few"), 3u);
    EXPECT_EQ(PluralRules::canonicalIndex("bogus"), 6u);
}

TEST(Languages, CommonListHasFortyTwoCodesInOrder) {
    const auto& codes = Languages::common();
    ASSERT_EQ(codes.size(), 42u);
    EXPECT_EQ(codes.front(), "ar");
    EXPECT_EQ(codes[8], "es-419");
    EXPECT_EQ(codes.back(), "zh-Hant");
}

// These names are ICU's wording; where it differs from other platforms' wording, ICU's is what we show.
TEST(Languages, NamesComeFromIcuDisplayNames) {
    EXPECT_EQ(Languages::englishName("de"), "German");
    EXPECT_EQ(Languages::englishName("pt-BR"), "Portuguese (Brazil)");
    EXPECT_EQ(Languages::englishName("es-419"), "Spanish (Latin America)");
    EXPECT_EQ(Languages::englishName("zh-Hans"), "Chinese (Simplified)");
    EXPECT_EQ(Languages::englishName("pt_PT"), "Portuguese (Portugal)");
    EXPECT_EQ(Languages::nativeName("de"), "Deutsch");
    EXPECT_EQ(Languages::nativeName("fr"),
              "Fran\u00E7ais"); // ICU writes "français": the first letter is raised
    EXPECT_EQ(Languages::nativeName("ja"), "\u65E5\u672C\u8A9E");
    EXPECT_EQ(Languages::nativeName("pt-BR"), "Portugu\u00EAs (Brasil)");
}

TEST(Languages, UnknownCodesNameThemselves) {
    const std::string overlong(400, 'q');
    // Longer than the locale names ICU copies into fixed buffers, in the bytes a hostile file holds.
    const std::string hostile = "ro." + std::string(200, 'x') + "@" + std::string(200, 'y');
    struct Case {
        std::string code;
        std::string english;
        std::string native;
    };
    const std::vector<Case> cases{
        {"xx", "xx", "Xx"},
        {"XX", "XX", "XX"}, // as written, not in ICU's canonical spelling
        {"und", "und", "Und"},
        {"-", "-", "-"},
        {"_", "_", "_"},
        {"", "", ""},
        {overlong, overlong, "Q" + overlong.substr(1)},
        {hostile, hostile, "Ro" + hostile.substr(2)},
        {hostile + "-DE", hostile + "-DE", "Ro" + hostile.substr(2) + "-DE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(Languages::englishName(c.code), c.english);
        EXPECT_EQ(Languages::nativeName(c.code), c.native);
    }
}
