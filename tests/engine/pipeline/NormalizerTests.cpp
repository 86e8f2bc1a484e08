#include <gtest/gtest.h>

#include "engine/pipeline/Normalizer.h"

using namespace orvel;
using Parts = std::vector<std::string>;

TEST(NormalizerCodeParts, SplitsAtEveryDashAndUnderscore) {
    EXPECT_EQ(Normalizer::codeParts("de"), (Parts{"de"}));
    EXPECT_EQ(Normalizer::codeParts("de-CH"), (Parts{"de", "CH"}));
    EXPECT_EQ(Normalizer::codeParts("zh_Hant-HK"), (Parts{"zh", "Hant", "HK"}));
    EXPECT_EQ(Normalizer::codeParts("a-b_c-d_e-f"), (Parts{"a", "b", "c", "d", "e", "f"}));
}

TEST(NormalizerCodeParts, DropsEmptyParts) {
    EXPECT_EQ(Normalizer::codeParts("--pt__BR-"), (Parts{"pt", "BR"}));
    EXPECT_EQ(Normalizer::codeParts("_x"), (Parts{"x"}));
    EXPECT_TRUE(Normalizer::codeParts("").empty());
    EXPECT_TRUE(Normalizer::codeParts("-").empty());
    EXPECT_TRUE(Normalizer::codeParts("_-_").empty());
}

TEST(NormalizerCodeParts, KeepsOtherCharactersAsTheyAre) {
    EXPECT_EQ(Normalizer::codeParts("Ro-md"), (Parts{"Ro", "md"}));
    EXPECT_EQ(Normalizer::codeParts("sr.Latn/x"), (Parts{"sr.Latn/x"}));
}
