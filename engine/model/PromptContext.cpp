#include "engine/model/PromptContext.h"

#include <algorithm>

#include "core/Languages.h"
#include "core/TextPieces.h"
#include "core/Unicode.h"
#include "engine/model/LanguageNotes.h"

namespace orvel::Prompt {

std::string languageName(std::string_view code) {
    return Languages::englishName(code);
}

std::vector<std::string> styleLines(std::string_view language, const TranslationStyle& style) {
    const std::string name = languageName(language);
    std::string words =
        style.terms == TranslationStyle::Terms::translateAll
            ? "The reader may not know English computer words. Use plain " + name +
                  " words that anyone understands, also where younger people would say the English word."
            : "Where people who speak " + name +
                  " use an English computer word in daily life, keep that English word. Where they use a " +
                  name + " word, use it.";
    std::string address =
        style.address == TranslationStyle::Address::formal
            ? "When a text speaks to the reader, use the polite, formal form of address of " + name + "."
            : "When a text speaks to the reader, use the informal form of address of " + name + ".";
    return {std::move(words), std::move(address)};
}

std::optional<std::string> section(std::string_view title, const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept),
                 [](const std::string& line) { return !line.empty(); });
    if (kept.empty())
        return std::nullopt;
    return std::string(title) + "\n" + text::joined(kept, "\n");
}

std::optional<std::string> aboutApp(const AppProfile& app) {
    std::vector<std::string> pieces;
    if (app.manifest) {
        if (app.manifest->description && !app.manifest->description->empty())
            pieces.push_back(*app.manifest->description);
        if (app.manifest->context && !app.manifest->context->empty())
            pieces.push_back(*app.manifest->context);
    }
    if (app.contextText) {
        std::string context(text::trimmed(*app.contextText));
        if (!context.empty())
            pieces.push_back(std::move(context));
    }
    if (pieces.empty())
        return std::nullopt;
    return text::joined(pieces, "\n");
}

std::vector<std::string> namesAndMeanings(const AppProfile& app,
                                          std::span<const AppManifest::Term> glossary) {
    std::vector<std::string> lines;
    auto add = [&lines](const AppManifest::Term& term) {
        if (term.term.empty())
            return;
        std::string line = "- " + term.term;
        const bool isName = term.translate == false;
        if (isName)
            line += ": a name, keep it exactly as written";
        if (term.note && !term.note->empty())
            line += (isName ? ". " : ": ") + *term.note;
        lines.push_back(std::move(line));
    };
    if (app.manifest && app.manifest->glossary)
        std::for_each(app.manifest->glossary->begin(), app.manifest->glossary->end(), add);
    std::for_each(glossary.begin(), glossary.end(), add);
    return lines;
}

std::vector<std::string> termLines(const TermMap& terms) {
    std::vector<std::pair<std::string, const TermMap::value_type*>> sorted;
    sorted.reserve(terms.size());
    for (const auto& entry : terms)
        sorted.emplace_back(text::lowercased(entry.first), &entry);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> lines;
    lines.reserve(sorted.size());
    for (const auto& [lowered, entry] : sorted)
        lines.push_back("- " + entry->first + " → " + entry->second);
    return lines;
}

std::vector<std::string> contextSections(const AppProfile& app, std::string_view language,
                                         const AppNotes& notes, const TranslationStyle& style,
                                         const TermMap& terms) {
    std::vector<std::string> sections;
    if (auto about = aboutApp(app))
        sections.push_back("ABOUT THE APP\n" + *about);
    if (const std::string personal(text::trimmed(notes.notes)); !personal.empty())
        sections.push_back("NOTES FROM THE PERSON THIS TRANSLATION IS FOR (these come first)\n" + personal);
    if (auto names = section("NAMES AND MEANINGS", namesAndMeanings(app, notes.glossary)))
        sections.push_back(std::move(*names));
    if (auto fixed = section("TERMS (always translate these words this way)", termLines(terms)))
        sections.push_back(std::move(*fixed));
    std::vector<std::string> noteLines;
    if (const auto languageNotes = LanguageNotes::notes(language))
        for (const auto& line : languageNotes->lines(style))
            noteLines.push_back("- " + line);
    if (auto styleSection = section(text::uppercased(languageName(language)) + " STYLE", noteLines))
        sections.push_back(std::move(*styleSection));
    return sections;
}

std::string systemMessage(std::string firstLine, const std::vector<std::string>& sections,
                          std::string rules) {
    std::vector<std::string> parts;
    parts.reserve(sections.size() + 2);
    parts.push_back(std::move(firstLine));
    parts.insert(parts.end(), sections.begin(), sections.end());
    parts.push_back(std::move(rules));
    return text::joined(parts, "\n\n");
}

} // namespace orvel::Prompt
