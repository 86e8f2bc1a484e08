#include <gtest/gtest.h>

#include <unicode/locid.h>

#include <algorithm>
#include <set>

#include "core/Languages.h"
#include "core/PluralNumbers.h"
#include "engine/model/PluralExamples.h"

namespace orvel {
namespace {

using Categories = std::vector<std::string>;

TEST(PluralExamplesTests, DescribesByTheBaseCodeOfAnyRegionOrSpelling) {
    for (const char* code : {"pt-BR", "pt", "PT"})
        EXPECT_EQ(PluralExamples::describe(code), "one (0, 1), many (1 000 000), other (2 and up)") << code;
    EXPECT_EQ(PluralExamples::describe("es-419"), "one (1), many (1 000 000), other (0, 2 and up)");
    EXPECT_EQ(PluralExamples::describe("mo"), PluralExamples::describe("ro"));
    EXPECT_EQ(PluralExamples::describe("ro"), "one (1), few (0, 2–19, 101–119), other (20–100, 120 and up)");
}

TEST(PluralExamplesTests, ATagWithRulesOfItsOwnAndALanguageWithoutRowAreDescribedByTheirRules) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"pt-PT", "one (1), many (1 000 000), other (0, 2 and up)"},
        {"pt_PT", "one (1), many (1 000 000), other (0, 2 and up)"},
        {"hi", "one (0, 1), other (2 and up)"},
        {"fa", "one (0, 1), other (2 and up)"},
        {"gd", "one (1, 11), two (2, 12), few (3–10, 13–19), other (0, 20 and up)"},
        {"br",
         "one (1, 21, 31), two (2, 22, 32), few (3, 4, 9, 23, 24), many (1 000 000), other (0, 5–8, 10–20)"},
        {"kw", "zero (0), one (1), two (2, 22, 42), few (3, 23, 43), many (21, 41, 61), other (4–20, 24–40, "
               "44–60)"},
        {"is", "one (1, 21, 31), other (0, 2–20, 22–30)"},
    };
    for (const auto& [code, description] : cases)
        EXPECT_EQ(PluralExamples::describe(code), description) << code;
    EXPECT_EQ(PluralExamples::requiredCategories("br"), (Categories{"one", "two", "few", "other"}));
    EXPECT_EQ(PluralExamples::requiredCategories("pt-PT"), (Categories{"one", "other"}));
}

// The answer check reads the same rules: a form the prompt gives one number may write it as a word, and
// the check must let it; a form of several numbers keeps the count.
TEST(PluralExamplesTests, EveryOfferedLanguageIsDescribedAsTheCheckCountsIt) {
    std::set<std::string> offered(Languages::common().begin(), Languages::common().end());
    std::int32_t count = 0;
    const icu::Locale* locales = icu::Locale::getAvailableLocales(count);
    for (std::int32_t at = 0; at < count; ++at)
        if (const std::string name = locales[at].getName();
            name.find('_') == std::string::npos && name.size() < 4)
            offered.insert(name);
    for (const std::string& code : offered) {
        const auto required = PluralExamples::requiredCategories(code);
        for (const auto& [category, examples] : PluralExamples::categories(code)) {
            const auto numbers = PluralNumbers::wholeNumbers(code, category, 3);
            if (std::find(required.begin(), required.end(), category) == required.end() || !numbers ||
                numbers->runs.empty())
                continue;
            if (numbers->isSeveral())
                EXPECT_NE(examples, std::to_string(numbers->runs.front().first)) << code << " " << category;
            else
                EXPECT_EQ(examples, std::to_string(numbers->runs.front().first)) << code << " " << category;
        }
    }
}

TEST(PluralExamplesTests, LanguagesWithoutRowGetGeneralExamples) {
    EXPECT_EQ(PluralExamples::describe("de"), "one (1), other (0, 2 and up)");
    EXPECT_EQ(PluralExamples::describe("en"), "one (1), other (0, 2 and up)");
    EXPECT_EQ(PluralExamples::describe(""), "one (1), other (0, 2 and up)");
    EXPECT_EQ(PluralExamples::describe("zh-Hant"), "other (every number)");
    EXPECT_EQ(PluralExamples::describe("ja"), "other (every number)");
}

TEST(PluralExamplesTests, ListsCategoriesInTheLanguagesOrder) {
    EXPECT_EQ(PluralExamples::describe("pl"),
              "one (1), few (2–4, 22–24), many (0, 5–21, 25–31), other (fractions such as 1.5)");
    EXPECT_EQ(PluralExamples::describe("ar"),
              "zero (0), one (1), two (2), few (3–10, 103–110), many (11–99, 111), "
              "other (100–102, 200)");
    EXPECT_EQ(PluralExamples::describe("lv"), "zero (0, 10–20, 30), one (1, 21, 31), other (2–9, 22–29)");
    EXPECT_EQ(PluralExamples::describe("ru"),
              "one (1, 21, 31), few (2–4, 22–24), many (0, 5–20, 25–30), other (fractions such as 1.5)");
}

TEST(PluralExamplesTests, DescribeKeepsOnlyTheGivenCategories) {
    EXPECT_EQ(PluralExamples::describe("ru", Categories{"other", "one"}),
              "one (1, 21, 31), other (fractions such as 1.5)");
    EXPECT_EQ(PluralExamples::describe("fr", PluralExamples::requiredCategories("fr")),
              "one (0, 1), other (2 and up)");
    EXPECT_EQ(PluralExamples::describe("de", Categories{}), "");
}

TEST(PluralExamplesTests, ManyIsNotRequiredWhereItOnlyNamesMillions) {
    EXPECT_EQ(PluralExamples::requiredCategories("fr"), (Categories{"one", "other"}));
    EXPECT_EQ(PluralExamples::requiredCategories("pt-BR"), (Categories{"one", "other"}));
    EXPECT_EQ(PluralExamples::requiredCategories("CA"), (Categories{"one", "other"}));
    EXPECT_EQ(PluralExamples::requiredCategories("ru"), (Categories{"one", "few", "many", "other"}));
    EXPECT_EQ(PluralExamples::requiredCategories("ar"),
              (Categories{"zero", "one", "two", "few", "many", "other"}));
    EXPECT_EQ(PluralExamples::requiredCategories("ja"), (Categories{"other"}));
}

TEST(PluralExamplesTests, BaseCode) {
    EXPECT_EQ(PluralExamples::baseCode("pt-BR"), "pt");
    EXPECT_EQ(PluralExamples::baseCode("_ZH_Hant"), "zh");
    EXPECT_EQ(PluralExamples::baseCode("-"), "-");
    EXPECT_EQ(PluralExamples::baseCode(""), "");
}

TEST(PluralExamplesTests, TableEntriesOnlyNameCategoriesOfTheirLanguage) {
    // A row naming a category its language does not have would never be shown.
    for (const auto& [code, examples] : PluralExamples::table()) {
        const auto described = PluralExamples::categories(code);
        EXPECT_EQ(described.size(), examples.size()) << code;
        for (const auto& [category, text] : described)
            EXPECT_EQ(examples.at(category), text) << code << " " << category;
    }
}

} // namespace
} // namespace orvel
