#pragma once
// The request that finds the translations of a batch with a real problem and corrects them.

#include <string>
#include <string_view>
#include <vector>

#include "engine/model/AppProfile.h"
#include "engine/model/PromptContext.h"
#include "engine/model/PromptItems.h"
#include "engine/model/TranslationStyle.h"

namespace orvel::Prompt {

std::string reviewSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                         const TranslationStyle& style, const TermMap& terms);

// The term block of the pairs, the count line and the items.
std::string reviewUser(const std::vector<ReviewItem>& items, const std::vector<TermPair>& termPairs);

} // namespace orvel::Prompt
