#include <gtest/gtest.h>

#include "engine/pipeline/ReviewNote.h"

using namespace orvel;

namespace {

StringTranslation translation(std::optional<std::string> text,
                              std::optional<std::map<std::string, std::string>> plural) {
    StringTranslation t;
    t.text = std::move(text);
    t.plural = std::move(plural);
    return t;
}

} // namespace

TEST(ReviewNoteSummary, WritesFormsInCategoryOrder) {
    EXPECT_EQ(
        ReviewNote::summary(translation(std::nullopt, {{{"other", "%d fichiers"}, {"one", "1 fichier"}}})),
        "one: 1 fichier | other: %d fichiers");
    EXPECT_EQ(
        ReviewNote::summary(translation(
            std::nullopt, {{{"other", "o"}, {"few", "f"}, {"zero", "z"}, {"two", "t"}, {"many", "m"}}})),
        "zero: z | two: t | few: f | many: m | other: o");
    EXPECT_EQ(ReviewNote::summary(translation(std::nullopt, {{{"a-odd", "x"}, {"other", "o"}}})),
              "other: o | a-odd: x");
}

TEST(ReviewNoteSummary, PrefersFormsOverText) {
    EXPECT_EQ(ReviewNote::summary(translation("Datei", {{{"one", "Datei"}, {"other", "Dateien"}}})),
              "one: Datei | other: Dateien");
    EXPECT_EQ(ReviewNote::summary(translation("Datei", std::map<std::string, std::string>{})), "");
    EXPECT_EQ(ReviewNote::summary(translation("Datei", std::nullopt)), "Datei");
    EXPECT_EQ(ReviewNote::summary(translation(std::nullopt, std::nullopt)), "");
}
