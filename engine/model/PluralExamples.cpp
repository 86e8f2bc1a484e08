#include "engine/model/PluralExamples.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/PluralNumbers.h"
#include "core/PluralRules.h"
#include "core/PluralRulesKey.h"
#include "core/TextPieces.h"

namespace orvel::PluralExamples {
namespace {

// Enough runs to show the pattern ("1, 21, 31") without a long list.
constexpr std::size_t examplesShown = 3;
// A form whose numbers all lie this high only names huge round numbers ("many" of French is 1 000 000):
// described, but never required.
constexpr std::int32_t hugeRoundNumbers = 1000000;
// From here on a number is written in groups of three digits, as in "1 000 000".
constexpr std::int32_t groupedFrom = 10000;

std::string written(std::int32_t number) {
    std::string digits = std::to_string(number);
    if (number < groupedFrom)
        return digits;
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), " ");
    return digits;
}

// "0, 2 and up", "1, 21, 31", "2–4, 22–24": the whole numbers as the table writes its examples.
std::string worded(const PluralNumbers::WholeNumbers& numbers) {
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < numbers.runs.size(); ++at) {
        const auto [first, last] = numbers.runs[at];
        if (numbers.endless && at + 1 == numbers.runs.size())
            pieces.push_back(written(first) + " and up");
        else if (last - first >= 2)
            pieces.push_back(written(first) + "–" + written(last));
        else
            for (auto number = first; number <= last; ++number)
                pieces.push_back(written(number));
    }
    return text::joined(pieces, ", ");
}

using Examples = Table::mapped_type;

// The table's examples are those of a base code; a whole tag with rules of its own counts otherwise.
const Examples* tableRow(std::string_view language) {
    const std::string base = baseCode(language);
    const auto key = PluralRules::rulesKey(language);
    if (key && *key != base)
        return nullptr;
    const auto row = table().find(base);
    return row == table().end() ? nullptr : &row->second;
}

const std::string* tableExample(const Examples* row, const std::string& category) {
    if (!row)
        return nullptr;
    const auto example = row->find(category);
    return example == row->end() ? nullptr : &example->second;
}

// The example numbers of a category that the table does not word: those the locale data's rules give
// it, else the general examples.
std::string derivedExamples(std::string_view language, const std::string& category,
                            std::size_t categoryCount) {
    if (categoryCount == 1 && category == "other")
        return "every number";
    auto numbers = PluralNumbers::wholeNumbers(language, category, examplesShown);
    if (numbers && !numbers->runs.empty()) {
        // One of them names them all: "1 000 000".
        if (numbers->runs.front().first >= hugeRoundNumbers)
            numbers->runs.resize(1);
        return worded(*numbers);
    }
    if (category == "one")
        return "1";
    return "0, 2 and up";
}

bool namesOnlyHugeRoundNumbers(std::string_view language, const std::string& category) {
    if (category == "other")
        return false;
    const auto numbers = PluralNumbers::wholeNumbers(language, category, 1);
    return numbers && !numbers->runs.empty() && numbers->runs.front().first >= hugeRoundNumbers;
}

} // namespace

const Table& table() {
    static const Table rows = [] {
        Table out;
        auto add = [&out](std::initializer_list<const char*> codes,
                          std::initializer_list<std::pair<const std::string, std::string>> examples) {
            for (const char* code : codes)
                out.emplace(code, std::map<std::string, std::string, std::less<>>(examples));
        };
        add({"ro", "mo"}, {{"one", "1"}, {"few", "0, 2–19, 101–119"}, {"other", "20–100, 120 and up"}});
        add({"ru", "uk", "be"}, {{"one", "1, 21, 31"},
                                 {"few", "2–4, 22–24"},
                                 {"many", "0, 5–20, 25–30"},
                                 {"other", "fractions such as 1.5"}});
        add({"pl"}, {{"one", "1"},
                     {"few", "2–4, 22–24"},
                     {"many", "0, 5–21, 25–31"},
                     {"other", "fractions such as 1.5"}});
        add({"hr", "sr", "bs"}, {{"one", "1, 21, 31"}, {"few", "2–4, 22–24"}, {"other", "0, 5–20, 25–30"}});
        add({"cs", "sk"}, {{"one", "1"}, {"few", "2–4"}, {"other", "0, 5 and up"}});
        add({"lt"}, {{"one", "1, 21, 31"}, {"few", "2–9, 22–29"}, {"other", "0, 10–20, 30"}});
        add({"sl"}, {{"one", "1, 101"}, {"two", "2, 102"}, {"few", "3, 4, 103"}, {"other", "0, 5–100"}});
        add({"lv"}, {{"one", "1, 21, 31"}, {"other", "2–9, 22–29"}, {"zero", "0, 10–20, 30"}});
        add({"ar"}, {{"one", "1"},
                     {"two", "2"},
                     {"few", "3–10, 103–110"},
                     {"many", "11–99, 111"},
                     {"other", "100–102, 200"},
                     {"zero", "0"}});
        add({"cy"}, {{"one", "1"},
                     {"two", "2"},
                     {"few", "3"},
                     {"many", "6"},
                     {"other", "4, 5, 7 and up"},
                     {"zero", "0"}});
        add({"ga"},
            {{"one", "1"}, {"two", "2"}, {"few", "3–6"}, {"many", "7–10"}, {"other", "0, 11 and up"}});
        add({"mt"}, {{"one", "1"},
                     {"two", "2"},
                     {"few", "0, 3–10, 103"},
                     {"many", "11–19, 111"},
                     {"other", "20–100"}});
        add({"he"}, {{"one", "1"}, {"two", "2"}, {"other", "0, 3 and up"}});
        add({"fr", "pt"}, {{"one", "0, 1"}, {"many", "1 000 000"}, {"other", "2 and up"}});
        add({"es", "it", "ca"}, {{"one", "1"}, {"many", "1 000 000"}, {"other", "0, 2 and up"}});

        return out;
    }();
    return rows;
}

std::string baseCode(std::string_view code) {
    return PluralRules::baseCode(code);
}

std::vector<std::pair<std::string, std::string>> categories(std::string_view language) {
    const auto& languageCategories = PluralRules::categories(language);
    const auto* row = tableRow(language);
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& category : languageCategories) {
        if (const std::string* example = tableExample(row, category))
            out.emplace_back(category, *example);
        else
            out.emplace_back(category, derivedExamples(language, category, languageCategories.size()));
    }
    return out;
}

std::string describe(std::string_view language, const std::optional<std::vector<std::string>>& keep) {
    std::vector<std::string> pieces;
    for (const auto& [category, examples] : categories(language)) {
        if (keep && std::find(keep->begin(), keep->end(), category) == keep->end())
            continue;
        pieces.push_back(category + " (" + examples + ")");
    }
    return text::joined(pieces, ", ");
}

std::vector<std::string> requiredCategories(std::string_view language) {
    std::vector<std::string> out = PluralRules::categories(language);
    std::erase_if(out, [language](const std::string& category) {
        return namesOnlyHugeRoundNumbers(language, category);
    });
    return out;
}

} // namespace orvel::PluralExamples
