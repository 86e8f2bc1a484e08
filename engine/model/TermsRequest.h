#pragma once
// The request that fixes one word for each key term of an app before any batch is translated.

#include <string>
#include <string_view>
#include <vector>

#include "engine/model/AppProfile.h"
#include "engine/model/PromptContext.h"
#include "engine/model/PromptItems.h"
#include "engine/model/TranslationStyle.h"

namespace orvel::Prompt {

// Never has a TERMS section: the terms are what it asks for. `evidence` adds the rule on the reference
// software's translations, for items that carry them.
std::string termsSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                        const TranslationStyle& style, bool evidence);

std::string termsUser(const std::vector<TermItem>& items);

} // namespace orvel::Prompt
