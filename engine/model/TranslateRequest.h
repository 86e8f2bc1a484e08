#pragma once
// The request that translates one batch of an app's strings into one language.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/capture/Occurrence.h"
#include "engine/model/AppProfile.h"
#include "engine/model/PromptContext.h"
#include "engine/model/PromptItems.h"
#include "engine/model/TranslationStyle.h"

namespace orvel::Prompt {

// The first line, the context sections, the RULES and the shape of the ANSWER. `phrases` adds the rule
// on reference phrasings, for runs whose items may carry them.
std::string translateSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                            const TranslationStyle& style, const TermMap& terms, bool phrases);

// The term block, the count line and the items.
std::string translateUser(const std::vector<Item>& items, const std::vector<TermPair>& termPairs);

// The words to use for the terms of a batch (at most 20), followed by an empty line; empty without pairs.
std::string termWords(const std::vector<TermPair>& termPairs);

// "screen > section: role; row: a | b" for the first three occurrences; nothing for none.
std::optional<std::vector<std::string>> wherePath(std::span<const Occurrence> occurrences);

} // namespace orvel::Prompt
