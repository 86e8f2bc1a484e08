#pragma once
// Fixing one word for each key term of an app before its strings are translated.

#include <stop_token>
#include <string>
#include <vector>

#include "engine/model/PromptItems.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel::Terms {

// The model's answer to a terms request over `items`, sent with the job's settings; throws the error
// of its last try.
std::string request(const TranslationJob& job, const std::vector<Prompt::TermItem>& items, std::string system,
                    const std::stop_token& stop);

} // namespace orvel::Terms
