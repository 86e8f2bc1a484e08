#pragma once
// The plural categories a language's translations must supply.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::PluralRules {

// "zero", "one", "two", "few", "many", "other": the canonical order of a plural's forms.
const std::vector<std::string>& allCategories();

// The ordered categories of the language of `code` that a count can choose: from the locale data's
// rules, of the whole tag where it has rules of its own (Portugal's Portuguese), else of its base code;
// for a language without rules there, the table's row of its base code, and "one", "other" for any
// language the table does not list.
const std::vector<std::string>& categories(std::string_view code);

// The first non-empty piece of `code` between "-" and "_", lower-cased; a code with no such piece is
// its own base, unchanged.
std::string baseCode(std::string_view code);

// The place of a category in the canonical order; categories outside it sort last.
std::size_t canonicalIndex(std::string_view category);

} // namespace orvel::PluralRules
