#include <gtest/gtest.h>

#include "engine/model/PluralExamples.h"

namespace orvel {
namespace {

using Categories = std::vector<std::string>;

TEST(PluralExamplesTests, DescribesByTheBaseCodeOfAnyRegionOrSpelling) {
    for (const char* code : {"pt-BR", "pt_PT", "PT"})
        EXPECT_EQ(PluralExamples::describe(code), "one (0, 1), many (1 000 000), other (2 and up)") << code;
    EXPECT_EQ(PluralExamples::describe("es-419"), "one (1), many (1 000 000), other (0, 2 and up)");
    EXPECT_EQ(PluralExamples::describe("mo"), PluralExamples::describe("ro"));
    EXPECT_EQ(PluralExamples::describe("ro"), "one (1), few (0, 2–19, 101–119), other (20–100, 120 and up)");
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
