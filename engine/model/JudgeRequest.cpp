#include "engine/model/JudgeRequest.h"

#include "engine/model/PromptTemplate.h"

namespace orvel::Prompt {
namespace {

constexpr std::string_view firstLine =
    R"TEXT(You check changes to the [[L]] translation of the Mac app "[[APP]]", as a native [[L]] speaker who uses a Mac every day.)TEXT";

constexpr std::string_view rules = R"TEXT(RULES
For each item, B is A with a change. Decide whether the change fixes a real mistake in A, judged against the [[S]] source: a wrong or opposite meaning, something missing or added, a grammar or spelling error, a word that native speakers do not use, or a word that differs from TERMS. A change of taste is not a fix.

ANSWER
JSON only, one verdict for every item, "fix" or "taste" or "worse":
{"verdicts": [{"id": "1", "change": "fix"}, {"id": "2", "change": "taste"}, {"id": "3", "change": "worse"}]})TEXT";

} // namespace

std::string judgeSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                        const TranslationStyle& style, const TermMap& terms) {
    const std::map<std::string_view, std::string> values{
        {"APP", app.name},
        {"L", languageName(language)},
        {"S", languageName(app.sourceLanguage)},
    };
    return systemMessage(filled(firstLine, values), contextSections(app, language, notes, style, terms),
                         filled(rules, values));
}

std::string judgeUser(const std::vector<JudgeItem>& items) {
    return "Check these " + std::to_string(items.size()) + " changes:\n" + jsonArray(items);
}

} // namespace orvel::Prompt
