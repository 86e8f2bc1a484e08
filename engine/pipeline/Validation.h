#pragma once
// The checks of one model answer against its English. Each returns nothing for an acceptable answer
// or one short sentence naming the first problem; the sentence goes back to the model when the item
// is asked again, so its wording is part of what the model is told.

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/reference/AppleReference.h"

namespace orvel::Validation {

// Emphasis markers, checked in this order.
inline constexpr std::array<std::string_view, 2> markers{"**", "`"};

using PluralForms = std::map<std::string, std::string>;

// The texts of an answer that the checks read: the plural forms in category order, else the single
// text; no answer at all reads as the empty text. An empty forms map counts as no forms.
std::vector<std::string_view> answerTexts(const std::optional<std::string>& text,
                                          const std::optional<PluralForms>& plural);

// Checks the answer (one text, or plural forms) against the source's English; `language` decides
// which plural forms must be present and which of them may leave out the count. An empty forms map
// counts as no forms.
std::optional<std::string> problem(const std::optional<std::string>& text,
                                   const std::optional<PluralForms>& plural, const SourceString& source,
                                   std::optional<std::string_view> language);

// The answer must keep the source's "${name}" and "{{name}}" variables, as many of each.
std::optional<std::string> variablesProblem(std::string_view answer, std::string_view source);

// The answer must spell the source's placeholders alike and give each argument number the type the
// source gives it: "%d %@" for "%@ %d" would read a number as an object.
std::optional<std::string> placeholderSpellingProblem(std::string_view answer, std::string_view source);

// The first way the answer breaks what was decided for the whole app and language, checked in this
// order: the names macOS uses for what the source names (only with a reference), names kept as
// written, the chosen words of glossary terms, a placeholder that leads a two-word label, the
// language's wordings to avoid, and a text left in English. `terms` maps English key terms to their
// chosen words (a term chosen as itself stays as written); `glossary` holds the lower-cased glossary
// terms.
std::optional<std::string> termProblem(const SourceString& source, const std::optional<std::string>& text,
                                       const std::optional<PluralForms>& plural, std::string_view language,
                                       const std::map<std::string, std::string>& terms,
                                       const std::set<std::string, std::less<>>& glossary,
                                       const std::optional<AppleReference>& reference);

// A literal percent sign must stay doubled where the source doubles it.
std::optional<std::string> percentProblem(std::string_view answer, std::string_view source);

} // namespace orvel::Validation
