#pragma once
// The request that decides whether each fix a review proposed really fixes a mistake.

#include <string>
#include <string_view>
#include <vector>

#include "engine/model/AppProfile.h"
#include "engine/model/PromptContext.h"
#include "engine/model/PromptItems.h"
#include "engine/model/TranslationStyle.h"

namespace orvel::Prompt {

std::string judgeSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                        const TranslationStyle& style, const TermMap& terms);

std::string judgeUser(const std::vector<JudgeItem>& items);

} // namespace orvel::Prompt
