#include "engine/model/TranslateRequest.h"

#include <algorithm>

#include "core/Languages.h"
#include "core/PluralRules.h"
#include "core/TextPieces.h"
#include "core/Unicode.h"
#include "engine/model/PluralExamples.h"
#include "engine/model/PromptTemplate.h"

namespace orvel::Prompt {
namespace {

constexpr std::string_view firstLine =
    R"TEXT(You translate the interface of the Mac app "[[APP]]" from [[S]] into [[L]] ([[CODE]]).)TEXT";

constexpr std::string_view rules = R"TEXT(RULES
1. Write what a native [[L]] speaker expects to read in a well-made Mac app. Use the words people really say. Never use a word only because it is the dictionary or the literal translation.
1b. Translate the meaning, not the words. An English idiom such as "listen for keys" or "bring back to life" becomes the plain way [[L]] says it.
1c. Technical terms that have no everyday translation stay as they are: gamma, firmware, nits, RGB, HDR, I²C.
2. [[STYLE-TERMS]]
3. [[STYLE-ADDRESS]]
4. Match the kind of text. Labels, headings, tabs and toggles are short names. Buttons and menu items are short actions. Messages and tooltips are natural sentences. "where" tells you which kind it is when it is known.
5. Keep placeholders exactly as written: %@, %lld, %d, %1$@, %.1f, %%, ⟦1⟧. You may move them. When two or more change order, number them: %1$@, %2$@.
5b. A unit written right after a number or a placeholder stays with it: in "%llds ago" the "s" means seconds and stays.
6. Keep Markdown (**bold**, *italic*, `code`, [text](link)), symbols (⌘ ⌥ ⇧ ⌃ ↩ ⎋ → • …), emoji and line breaks.
7. Keep the names of apps, products and companies, and every name listed under NAMES AND MEANINGS as a name.
8. Stay close to the length of the [[S]] text. Sidebar items, tabs, column headers, menu titles and segmented controls sit in fixed widths: never make them longer than the [[S]], and pick the shortest natural wording.
9. An item with "plural" lists the plural categories of [[L]] and the numbers each one is used for. Return one form for every category, as "plural": {[[CATS]]}, each form a full string with its placeholder, written for those numbers.
10. An item with "countable" has a number in it. If the number counts things and the words around it change with the count in [[L]], return "plural" forms for [[PLURALS]]. If it is a measurement with a unit, such as %, lux, px or ms, return "text".
11. "current" is the translation the item has now, and "feedback" says what the person wants changed. "problem" says what was wrong last time.
12. "os" says how macOS itself writes names in the text. The names of macOS apps, places, settings and menu items must match it exactly, since the reader sees them in macOS. macOS uses the formal address; rule 3 decides the address of everything else, and the STYLE and TERMS above come first for ordinary words.[[RULE-13]]

ANSWER
JSON only, in this shape:
{"translations": [{"id": "1", "text": "…"}, {"id": "2", "plural": {[[CATS]]}}]})TEXT";

constexpr std::string_view phrasesRule =
    R"TEXT(13. "phrases" shows how widely used software phrased a word of the item that has no one [[L]] translation, in short interface strings. Pick the phrasing that fits this item, or leave the word out when the meaning stays clear without it.)TEXT";

constexpr std::size_t maxTermPairs = 20;
constexpr std::size_t maxPlaces = 3;

// "one": "…", "other": "…" for the language's categories.
std::string categoryShape(std::string_view language) {
    std::vector<std::string> pieces;
    for (const auto& category : PluralRules::categories(language))
        pieces.push_back("\"" + category + "\": \"…\"");
    return text::joined(pieces, ", ");
}

} // namespace

std::string translateSystem(const AppProfile& app, std::string_view language, const AppNotes& notes,
                            const TranslationStyle& style, const TermMap& terms, bool phrases) {
    const std::string name = languageName(language);
    const auto sentences = styleLines(language, style);
    const std::map<std::string_view, std::string> values{
        {"APP", app.name},
        {"L", name},
        {"S", languageName(app.sourceLanguage)},
        {"CODE", std::string(language)},
        {"STYLE-TERMS", sentences[0]},
        {"STYLE-ADDRESS", sentences[1]},
        {"CATS", categoryShape(language)},
        {"PLURALS", PluralExamples::describe(language)},
        {"RULE-13", optionalLine(phrases,
                                 [&] {
                                     return filled(phrasesRule, {{"L", name}});
                                 })},
    };
    return systemMessage(filled(firstLine, values), contextSections(app, language, notes, style, terms),
                         filled(rules, values));
}

std::string termWords(const std::vector<TermPair>& termPairs) {
    if (termPairs.empty())
        return {};
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < std::min(termPairs.size(), maxTermPairs); ++i) {
        const auto& [term, word] = termPairs[i];
        // Canonically equivalent spellings are the same word: it stays as it is.
        lines.push_back(text::canonicallyEqual(word, term) ? "- " + term + ": keep as is"
                                                           : "- " + term + " → " + word);
    }
    return "Use these words for the terms in these strings:\n" + text::joined(lines, "\n") + "\n\n";
}

std::string translateUser(const std::vector<Item>& items, const std::vector<TermPair>& termPairs) {
    return termWords(termPairs) + "Translate these " + std::to_string(items.size()) + " strings:\n" +
           jsonArray(items);
}

std::optional<std::vector<std::string>> wherePath(std::span<const Occurrence> occurrences) {
    if (occurrences.empty())
        return std::nullopt;
    std::vector<std::string> places;
    for (const auto& occurrence : occurrences.first(std::min(occurrences.size(), maxPlaces))) {
        std::string place = occurrence.screen;
        if (occurrence.section)
            place += " > " + *occurrence.section;
        place += ": " + occurrence.role;
        if (occurrence.row.size() >= 2)
            place += "; row: " + text::joined(occurrence.row, " | ");
        places.push_back(std::move(place));
    }
    return places;
}

} // namespace orvel::Prompt
