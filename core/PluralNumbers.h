#pragma once
// Which whole numbers a plural category of a language stands for, by the locale data's plural rules.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace orvel::PluralNumbers {

// The smallest whole numbers of one category, as runs of consecutive numbers in ascending order.
struct WholeNumbers {
    std::vector<std::pair<std::int32_t, std::int32_t>> runs; // first and last number of each run
    bool more = false;                                       // numbers follow after the last run
    bool endless = false;                                    // the last run goes on without end ("2 and up")

    // True when the category stands for more than one whole number: Russian "one" (1, 21, 31, ...) but
    // not English "one" (1 alone), nor a category that only fractions take.
    bool isSeveral() const;
};

// The first `maxRuns` runs (at least one) of the whole numbers for which the rules of the language of `code`
// (those of the whole tag where the locale data have rules of its own, else of its base code) choose
// `category`. Absent when the rules do not name the category for that language, as for a language the
// locale data have no rules for.
std::optional<WholeNumbers> wholeNumbers(std::string_view code, std::string_view category,
                                         std::size_t maxRuns);

} // namespace orvel::PluralNumbers
