#pragma once
// The lists and counts of a text that the answer checks compare between an answer and its English.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::Validation {

// The texts of all matches of `pattern`, sorted ascending, so that two texts can be compared as
// multisets; a pattern that does not compile gives an empty list.
std::vector<std::string> variables(std::string_view text, std::string_view pattern);

// The `type` of each placeholder, sorted ascending: "%d" and "%lld" differ here.
std::vector<std::string> placeholderTypes(std::string_view text);

// The percent signs that are neither doubled nor part of a placeholder.
std::size_t lonePercentCount(std::string_view text);

// The placeholders as written, in text order, joined with one space; "(none)" for a text without any.
std::string placeholderList(std::string_view text);

} // namespace orvel::Validation
