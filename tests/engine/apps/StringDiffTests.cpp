#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/apps/StringDiff.h"

namespace orvel {
namespace {

using StringDiff::similarity;

TEST(StringDiff, WordsAreLowercasedRunsOfLettersAndNumbers) {
    EXPECT_EQ(StringDiff::words("Don't save—3 Files!"),
              (std::vector<std::string>{"don", "t", "save", "3", "files"}));
    EXPECT_EQ(StringDiff::words("  ...  "), std::vector<std::string>{});
    EXPECT_EQ(StringDiff::words("Größe ändern"), (std::vector<std::string>{"größe", "ändern"}));
}

TEST(StringDiff, LevenshteinCountsEditsOfWholeElements) {
    auto characters = [](std::string text) {
        std::vector<std::string> out;
        for (char c : text)
            out.emplace_back(1, c);
        return out;
    };
    EXPECT_EQ(StringDiff::levenshtein(characters("kitten"), characters("sitting")), 3u);
    EXPECT_EQ(StringDiff::levenshtein(characters("flaw"), characters("lawn")), 2u);
}

TEST(StringDiff, ShortTextsCompareByCharacters) {
    EXPECT_NEAR(similarity("Cancel", "Cancelled"), 1.0 - 3.0 / 9.0, 1e-12);
    EXPECT_DOUBLE_EQ(similarity("OK", "Ok"), 1.0);
    EXPECT_DOUBLE_EQ(similarity("", ""), 1.0);
    EXPECT_DOUBLE_EQ(similarity("", "Save"), 0.0);
    EXPECT_DOUBLE_EQ(similarity("abcd", "abxy"), 0.5);
    // Canonically equivalent spellings are the same characters; a cluster counts as one character.
    EXPECT_DOUBLE_EQ(similarity("Caf\u00E9", "Cafe\u0301"), 1.0);
    EXPECT_DOUBLE_EQ(similarity("\U0001F468\u200D\U0001F469\u200D\U0001F467", "x"), 0.0);
    EXPECT_DOUBLE_EQ(similarity("a\u0301b", "ab"), 0.5);
}

TEST(StringDiff, LongerTextsCompareByWordMultisets) {
    EXPECT_NEAR(similarity("Open the file", "Open a file"), 2.0 * 2.0 / 6.0, 1e-12);
    EXPECT_NEAR(similarity("the the cat", "the cat cat"), 2.0 * 2.0 / 6.0, 1e-12);
    // One text of three words is enough to compare by words.
    EXPECT_DOUBLE_EQ(similarity("Save", "Save all files"), 0.5);
    EXPECT_DOUBLE_EQ(similarity("Save all files", "SAVE, ALL FILES!"), 1.0);
    EXPECT_DOUBLE_EQ(similarity("Delete the item", "Rename a folder"), 0.0);
}

// The pairing skips pairs whose ceiling is below the threshold, so the ceiling must never undercut
// the real score.
TEST(StringDiff, CeilingNeverUndercutsTheScore) {
    const std::vector<std::string> pieces = {"a", "b", "é", "Open", "file", " ", "the", "x", "1", "-"};
    std::mt19937 random(7);
    auto randomText = [&] {
        std::string text;
        for (int n = static_cast<int>(random() % 8); n > 0; --n)
            text += pieces[random() % pieces.size()];
        return text;
    };
    for (int i = 0; i < 2000; ++i) {
        const auto a = StringDiff::prepare(randomText()), b = StringDiff::prepare(randomText());
        ASSERT_GE(StringDiff::similarityCeiling(a, b), similarity(a, b));
    }
}

} // namespace
} // namespace orvel
