#include <gtest/gtest.h>

#include "core/PluralNumbers.h"

using namespace orvel;

namespace {

using Runs = std::vector<std::pair<std::int32_t, std::int32_t>>;

} // namespace

TEST(PluralNumbers, TheWholeNumbersOfACategoryAsRuns) {
    struct Case {
        std::string code;
        std::string category;
        std::size_t maxRuns;
        std::optional<Runs> runs; // absent: the rules do not name the category for the language
        bool more;
        bool several;
    };
    const std::vector<Case> cases{
        {"en", "one", 3, Runs{{1, 1}}, false, false},
        {"ru", "one", 3, Runs{{1, 1}, {21, 21}, {31, 31}}, true, true},
        {"ru", "many", 2, Runs{{0, 0}, {5, 20}}, true, true},
        {"cs", "few", 3, Runs{{2, 4}}, false, true},
        {"cy", "many", 3, Runs{{6, 6}}, false, false},
        // Only fractions take it.
        {"pl", "other", 3, Runs{}, false, false},
        // Every number from 0 on: the numbers go on past the ones looked at.
        {"ja", "other", 3, Runs{{0, 1000}}, true, true},
        // Multiples of a million lie far beyond the small numbers.
        {"es", "many", 3, Runs{{1000000, 1000000}, {2000000, 2000000}, {3000000, 3000000}}, true, true},
        // The whole tag decides where the locale data have rules of its own, else the base code.
        {"-pl", "one", 3, Runs{{1, 1}}, false, false},
        {"pt-PT", "one", 3, Runs{{1, 1}}, false, false},
        {"pt_PT", "other", 2, Runs{{0, 0}, {2, 1000}}, true, true},
        {"pt-BR", "one", 3, Runs{{0, 1}}, false, true},
        {"pt", "one", 3, Runs{{0, 1}}, false, true},
        {"fr-CA", "one", 3, Runs{{0, 1}}, false, true},
        {"es-419", "one", 3, Runs{{1, 1}}, false, false},
        {"zh-Hant-TW", "other", 3, Runs{{0, 1000}}, true, true},
        {"RU", "few", 1, Runs{{2, 4}}, true, true},
        // At least one run is kept, so that one number never reads as several.
        {"de", "one", 0, Runs{{1, 1}}, false, false},
        {"de", "zero", 3, std::nullopt, false, false},
        {"ja", "one", 3, std::nullopt, false, false},
        {"xx", "one", 3, std::nullopt, false, false},
        {"", "one", 3, std::nullopt, false, false},
        {std::string(400, 'r'), "one", 3, std::nullopt, false, false},
        // Longer than the locale names ICU copies into fixed buffers, in the bytes a hostile file holds.
        {"ro." + std::string(200, 'x'), "one", 3, std::nullopt, false, false},
        {"ro@" + std::string(200, 'x'), "one", 3, std::nullopt, false, false},
        {".\x80ro\n{\"id\":" + std::string(200, ':'), "one", 3, std::nullopt, false, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.code.substr(0, 8) + " " + row.category);
        const auto numbers = PluralNumbers::wholeNumbers(row.code, row.category, row.maxRuns);
        ASSERT_EQ(numbers.has_value(), row.runs.has_value());
        if (!numbers)
            continue;
        EXPECT_EQ(numbers->runs, *row.runs);
        EXPECT_EQ(numbers->more, row.more);
        EXPECT_EQ(numbers->isSeveral(), row.several);
    }
}
