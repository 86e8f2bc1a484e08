#pragma once
// The checks of one model answer against its English. Each returns nothing for an acceptable answer
// or one short sentence naming the first problem; the sentence goes back to the model when the item
// is asked again, so its wording is part of what the model is told.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/SourceString.h"

namespace orvel::Validation {

// Emphasis markers, checked in this order.
inline constexpr std::array<std::string_view, 2> markers{"**", "`"};

using PluralForms = std::map<std::string, std::string>;

// Checks the answer (one text, or plural forms) against the source's English; `language` decides
// which plural forms must be present. An empty forms map counts as no forms.
std::optional<std::string> problem(const std::optional<std::string>& text,
                                   const std::optional<PluralForms>& plural, const SourceString& source,
                                   std::optional<std::string_view> language);

// The answer must keep the source's "${name}" and "{{name}}" variables, as many of each.
std::optional<std::string> variablesProblem(std::string_view answer, std::string_view source);

// The answer must spell the source's placeholders alike and give each argument number the type the
// source gives it: "%d %@" for "%@ %d" would read a number as an object.
std::optional<std::string> placeholderSpellingProblem(std::string_view answer, std::string_view source);

// A literal percent sign must stay doubled where the source doubles it.
std::optional<std::string> percentProblem(std::string_view answer, std::string_view source);

} // namespace orvel::Validation
