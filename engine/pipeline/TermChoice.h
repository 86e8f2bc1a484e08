#pragma once
// Fixing one word for each key term of an app before its strings are translated.

#include <cstddef>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/SourceString.h"
#include "engine/model/PromptItems.h"
#include "engine/pipeline/Terms.h"
#include "engine/pipeline/TranslationJob.h"

namespace orvel::Terms {

// The most term items one request carries; longer lists go in several requests, one after another.
inline constexpr std::size_t termsPerRequest = 30;

// The complete term map of a run: the job's terms, glossary terms kept in English, the language's term
// notes that occur in the strings, abbreviations among the app's key terms kept as written, and the
// model's words for the other key terms (at most `limit` taken from the strings). Throws the error of a
// request that fails after its retries; nothing is returned then.
TermMap choose(const std::vector<SourceString>& strings, std::size_t limit, const TranslationJob& job,
               const std::stop_token& stop = {});

// The item the model is asked about for one term: up to two translatable strings that use it, how macOS
// writes it and how the reference software translated it, when the job has those references.
Prompt::TermItem termItem(const std::string& term, const std::vector<SourceString>& strings,
                          const TranslationJob& job);

// Takes the model's words from one answer into `result`: only for terms asked in `chunk` (in any case),
// trimmed, cleaned for `language` and with a capital dropped where only the start of a label set it.
// Objects that do not fit are passed over.
void parse(std::string_view answer, const std::vector<Prompt::TermItem>& chunk, std::string_view language,
           TermMap& result);

// "Fișier" -> "fișier", "Mod sincronizare" -> "mod sincronizare"; "macOS", "OSD", "iPhone" and words of
// one character stay as they are.
std::string lowercaseFirst(std::string_view text);

// The keys of the map, lower-cased.
std::vector<std::string> lowercasedKeys(const TermMap& terms);

// The model's answer to a terms request over `items`, sent with the job's settings; throws the error
// of its last try.
std::string request(const TranslationJob& job, const std::vector<Prompt::TermItem>& items, std::string system,
                    const std::stop_token& stop);

} // namespace orvel::Terms
