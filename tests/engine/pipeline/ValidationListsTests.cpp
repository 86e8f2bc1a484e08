#include <gtest/gtest.h>

#include "engine/pipeline/ValidationLists.h"
#include "engine/pipeline/VariableMasking.h"

using namespace orvel;
using List = std::vector<std::string>;

TEST(ValidationVariables, SortsMatchesSoRepeatsCount) {
    const auto pattern = VariableMasking::variablePattern;
    EXPECT_EQ(Validation::variables("{{b}} ${a} {{b}}", pattern), (List{"${a}", "{{b}}", "{{b}}"}));
    EXPECT_EQ(Validation::variables("{{b}} ${a}", pattern), Validation::variables("${a} {{b}}", pattern));
    EXPECT_TRUE(Validation::variables("no ${} here", pattern).empty());
    EXPECT_TRUE(Validation::variables("${a}", "(unclosed").empty());
}

TEST(ValidationPlaceholders, CountsOnlyLonePercentSigns) {
    EXPECT_EQ(Validation::lonePercentCount("50%% off, %d items, 100%."), 1u);
    EXPECT_EQ(Validation::lonePercentCount("%"), 1u);
    EXPECT_EQ(Validation::lonePercentCount("% and %"), 2u);
    EXPECT_EQ(Validation::lonePercentCount("%%"), 0u);
    EXPECT_EQ(Validation::lonePercentCount("%%%"), 1u);
    // Removing "%%" first joins what is left: "%%%d" leaves the placeholder "%d".
    EXPECT_EQ(Validation::lonePercentCount("%%%d"), 0u);
    EXPECT_EQ(Validation::lonePercentCount("%1$@ %lld"), 0u);
    EXPECT_EQ(Validation::lonePercentCount("%\u0301"), 0u);
}
