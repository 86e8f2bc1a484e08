#pragma once
// Which numbers each plural category of a language stands for, worded for prompts, and which categories
// a plural answer must supply.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvel::PluralExamples {

// Base code to (category to example numbers). Built once, read-only afterwards.
using Table = std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>>;
const Table& table();

// The first non-empty piece of the code between "-" and "_", lower-cased; the code itself when it has none.
std::string baseCode(std::string_view code);

// Every category of the language in the canonical order, each with its example numbers.
std::vector<std::pair<std::string, std::string>> categories(std::string_view language);

// "one (1), other (0, 2 and up)": every category with its examples, or only those in `keep`.
std::string describe(std::string_view language,
                     const std::optional<std::vector<std::string>>& keep = std::nullopt);

// The language's categories, without "many" where that form only names huge round numbers.
std::vector<std::string> requiredCategories(std::string_view language);

} // namespace orvel::PluralExamples
