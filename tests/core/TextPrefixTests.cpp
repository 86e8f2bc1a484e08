#include <gtest/gtest.h>

#include "core/TextPrefix.h"

using namespace orvel;

TEST(FirstCharacters, CountsUserPerceivedCharacters) {
    // "é" written as "e" and a combining accent, and a flag of two regional indicators.
    EXPECT_EQ(text::firstCharacters("e\u0301e\u0301x", 2), "e\u0301e\u0301");
    EXPECT_EQ(text::firstCharacters("\U0001F1E9\U0001F1EAab", 1), "\U0001F1E9\U0001F1EA");
    EXPECT_EQ(text::firstCharacters("abc", 3), "abc");
    EXPECT_EQ(text::firstCharacters("abc", 10), "abc");
    EXPECT_EQ(text::firstCharacters("abc", 0), "");
    EXPECT_EQ(text::firstCharacters("", 5), "");
}
