#pragma once
// Whether a plural form may leave out the count, and the sentence that tells the model why it may not.

#include <optional>
#include <string>
#include <string_view>

namespace orvel::Validation {

// The problem of a plural form that leaves out the count of `source` (or writes a digit where the
// count belongs): an "other" form always keeps it, and so does the form of a category that the
// language uses for more than one whole number (Russian "one" is also 21 and 31). Nothing for a
// category of one number alone, whose form may write it as a word ("one file"), or for a category the
// language never chooses for a whole number.
std::optional<std::string> leftOutCountProblem(std::string_view category,
                                               std::optional<std::string_view> language,
                                               std::string_view source);

} // namespace orvel::Validation
