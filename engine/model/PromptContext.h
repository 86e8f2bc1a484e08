#pragma once
// What every system message says about the app and the person's wishes: the context sections and the
// two style sentences, shared by the translate, terms, review and judge requests.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/AppManifest.h"
#include "engine/apps/AppNotes.h"
#include "engine/model/AppProfile.h"
#include "engine/model/TranslationStyle.h"

namespace orvel::Prompt {

// English term to the chosen word.
using TermMap = std::map<std::string, std::string>;
// (English term, chosen word), in the caller's order.
using TermPair = std::pair<std::string, std::string>;

// The English name by which a language is named to the model; the code itself when it has none.
std::string languageName(std::string_view code);

// The words sentence, then the address sentence.
std::vector<std::string> styleLines(std::string_view language, const TranslationStyle& style);

// The title and the non-empty lines, one per line; nothing when no line is left.
std::optional<std::string> section(std::string_view title, const std::vector<std::string>& lines);

// The manifest's description and context and the trimmed context text, one per line; nothing when
// there is none of them.
std::optional<std::string> aboutApp(const AppProfile& app);

// One line per glossary term of the manifest, then of the person.
std::vector<std::string> namesAndMeanings(const AppProfile& app, std::span<const AppManifest::Term> glossary);

// "- term → word", ordered by the lower-cased term.
std::vector<std::string> termLines(const TermMap& terms);

// ABOUT THE APP, the person's notes, NAMES AND MEANINGS, TERMS and the language's STYLE notes, each only
// when it has something to say.
std::vector<std::string> contextSections(const AppProfile& app, std::string_view language,
                                         const AppNotes& notes, const TranslationStyle& style,
                                         const TermMap& terms);

// The first line, the context sections and the rules, with one empty line between each two.
std::string systemMessage(std::string firstLine, const std::vector<std::string>& sections, std::string rules);

} // namespace orvel::Prompt
