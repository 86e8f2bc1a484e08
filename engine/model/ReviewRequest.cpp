#include "engine/model/ReviewRequest.h"

#include "engine/model/PromptTemplate.h"
#include "engine/model/TranslateRequest.h"

namespace orvel::Prompt {
namespace {

constexpr std::string_view firstLine =
    R"TEXT(You review the [[L]] translation of the Mac app "[[APP]]" as a native [[L]] speaker who uses a Mac every day.)TEXT";

constexpr std::string_view rules = R"TEXT(FIX ONLY REAL PROBLEMS
Change an item only when it has one of these problems:
a. The meaning is wrong, or something is missing or added.
b. It uses a word native speakers do not use for this, or an English idiom translated word for word.
c. It does not use the word listed under TERMS for a term.
d. [[STYLE-TERMS]]
e. [[STYLE-ADDRESS]]
f. A label, heading or toggle is written as a sentence or an action, or a button is written as a description.
f2. A sidebar item, tab, column header or menu title is longer than it needs to be.
g. Grammar, spelling, a missing space or diacritics are wrong.
h. A placeholder (%@, %lld, %1$@, %%), Markdown or a symbol is lost or changed.
i. An item with "problem" has that problem for certain: fix it.
Keep a translation that is correct and natural, even when its words differ from the English. Never make a translation more literal.

ANSWER
Only the items with a problem, as JSON. Name the problem, then give the whole corrected text, and only that text: no old text, no arrow, no comment.
{"fixes": [{"id": "3", "problem": "literal idiom", "text": "…"}, {"id": "5", "problem": "wrong plural form", "plural": {"one": "…", "other": "…"}}]}
Answer {"fixes": []} when every item is right.)TEXT";

} // namespace

std::string reviewSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                         const TranslationStyle& style, const TermMap& terms) {
    const auto sentences = styleLines(language, style);
    const std::map<std::string_view, std::string> values{
        {"APP", app.name},
        {"L", languageName(language)},
        {"STYLE-TERMS", sentences[0]},
        {"STYLE-ADDRESS", sentences[1]},
    };
    return systemMessage(filled(firstLine, values), contextSections(app, language, notes, style, terms),
                         filled(rules, values));
}

std::string reviewUser(const std::vector<ReviewItem>& items, const std::vector<TermPair>& termPairs) {
    return termWords(termPairs) + "Review these " + std::to_string(items.size()) + " translations:\n" +
           jsonArray(items);
}

} // namespace orvel::Prompt
