#include "engine/pipeline/ValidationCount.h"

#include <vector>

#include "core/PluralNumbers.h"
#include "core/TextPieces.h"
#include "engine/pipeline/ValidationLists.h"

namespace orvel::Validation {
namespace {

// Enough runs to show the pattern ("1, 21, 31 and more") without a long list.
constexpr std::size_t namedRuns = 3;

// "0 and 1", "2–4", "1, 21, 31 and more": runs as the plural examples of the prompts write them.
std::string worded(const PluralNumbers::WholeNumbers& numbers) {
    std::vector<std::string> pieces;
    for (const auto& [first, last] : numbers.runs) {
        if (last - first >= 2)
            pieces.push_back(std::to_string(first) + "–" + std::to_string(last));
        else
            for (auto number = first; number <= last; ++number)
                pieces.push_back(std::to_string(number));
    }
    if (numbers.more)
        return text::joined(pieces, ", ") + " and more";
    const std::string last = pieces.back();
    pieces.pop_back();
    return pieces.empty() ? last : text::joined(pieces, ", ") + " and " + last;
}

} // namespace

std::optional<std::string> leftOutCountProblem(std::string_view category,
                                               std::optional<std::string_view> language,
                                               std::string_view source) {
    const std::string keep = ", so it must keep the placeholders " + placeholderList(source);
    if (category == "other")
        return "the \"other\" form stands for every number without a form of its own" + keep;
    // Where the rules do not name the category, the language never chooses its form for a count.
    const auto numbers = PluralNumbers::wholeNumbers(language.value_or(""), category, namedRuns);
    if (!numbers || !numbers->isSeveral())
        return std::nullopt;
    return "the \"" + std::string(category) + "\" form of this language stands for " + worded(*numbers) +
           keep;
}

} // namespace orvel::Validation
