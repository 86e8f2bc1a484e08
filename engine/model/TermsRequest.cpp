#include "engine/model/TermsRequest.h"

#include "core/Unicode.h"
#include "engine/model/PromptTemplate.h"

namespace orvel::Prompt {
namespace {

constexpr std::string_view firstLine =
    R"TEXT(You choose the [[L]] words for the key terms of the Mac app "[[APP]]". Every string of the app will then use these words.)TEXT";

constexpr std::string_view rules = R"TEXT(RULES
1. For each term, give the word or phrase a native [[L]] speaker would use for it in this app. Prefer the everyday word over the official or literal one.
2. [[STYLE-TERMS]]
3. Give the base form that fits a label: singular unless the term is plural, lowercase unless it is a name.
4. Keep trademarks, product names and abbreviations in capitals (OSD, DDC) as they are. Descriptive feature names, such as "Sync Mode", get a translation.
5. The examples show how the app uses the term.
6. "os" shows how macOS writes the term, which is the name of a macOS app, place or setting. Use it exactly, since the reader sees that name in macOS.[[RULE-7]]

ANSWER
JSON only, in this shape:
{"terms": [{"term": "display", "translation": "…"}]})TEXT";

constexpr std::string_view evidenceRule =
    R"TEXT(7. "evidence" shows how widely used software (Android, Chromium, Firefox, Thunderbird, LibreOffice, VLC) translated the term into [[L]] before machine translation was common, and how many of its strings use each translation. Prefer it for common computer words, since that is the word readers know. The [[L-UPPER]] STYLE notes come first.)TEXT";

} // namespace

std::string termsSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                        const TranslationStyle& style, bool evidence) {
    const std::string name = languageName(language);
    const std::map<std::string_view, std::string> values{
        {"APP", app.name},
        {"L", name},
        {"STYLE-TERMS", styleLines(language, style)[0]},
        {"RULE-7",
         optionalLine(evidence,
                      [&] {
                          return filled(evidenceRule, {{"L", name}, {"L-UPPER", text::uppercased(name)}});
                      })},
    };
    return systemMessage(filled(firstLine, values), contextSections(app, language, notes, style, {}),
                         filled(rules, values));
}

std::string termsUser(const std::vector<TermItem>& items) {
    return "Choose the words for these " + std::to_string(items.size()) + " terms:\n" + jsonArray(items);
}

} // namespace orvel::Prompt
