#include "engine/pipeline/Normalizer.h"

#include "core/Characters.h"
#include "core/Markers.h"
#include "core/PluralRules.h"
#include "core/TextPieces.h"
#include "core/TextReplacing.h"
#include "core/TextSplitting.h"
#include "core/Unicode.h"
#include "engine/model/LanguageNotes.h"

namespace orvel::Normalizer {
namespace {

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Cedilla letters that keyboards and models still produce, replaced by the comma-below letters of
// correct Romanian.
std::string romanianLetters(std::string text) {
    static constexpr std::pair<std::string_view, std::string_view> replacements[] = {
        {"\u015F", "\u0219"},
        {"\u0163", "\u021B"},
        {"\u015E", "\u0218"},
        {"\u0162", "\u021A"},
    };
    for (const auto& [cedilla, commaBelow] : replacements)
        text = text::replacingAll(text, cedilla, commaBelow);
    return text;
}

// "..." becomes "…" only where the source writes the single character and never three periods.
std::string ellipsis(std::string text, std::string_view source) {
    if (contains(source, "\u2026") && !contains(source, "...") && contains(text, "..."))
        return text::replacingAll(text, "...", "\u2026");
    return text;
}

std::string languageQuotes(std::string text, std::string_view source, std::string_view language) {
    const auto notes = LanguageNotes::notes(language);
    if (!notes || !notes->quotes)
        return text;
    return quotes(text, source, notes->quotes->open, notes->quotes->close);
}

struct OuterWhiteSpace {
    std::string_view leading;
    std::string_view trailing;
};

// A source made only of white space is all leading run, so that it is not carried twice.
OuterWhiteSpace outerWhiteSpace(std::string_view source, std::string_view trimmedSource) {
    if (trimmedSource.empty())
        return {source, {}};
    const auto start = static_cast<std::size_t>(trimmedSource.data() - source.data());
    const std::size_t end = start + trimmedSource.size();
    return {source.substr(0, start), source.substr(end)};
}

// A label whose source ends with ":" keeps its colon, unless the translation ends in punctuation of its own.
std::string colon(std::string text, std::string_view trimmedSource) {
    if (text::lastCharacter(trimmedSource) != ":" || text.empty())
        return text;
    const std::string_view last = text::lastCharacter(text);
    if (last != ":" && last != "\uFF1A" && !text::isPunctuation(last))
        text += ':';
    return text;
}

bool isWordCharacter(std::string_view character) {
    return text::isLetter(character) || text::isDigit(character) || character == "'" || character == "\u2019";
}

} // namespace

std::string normalize(std::string_view translation, std::string_view source, std::string_view language) {
    std::string text = escapes(Markers::clean(translation), source);
    const std::string base = PluralRules::baseCode(language);
    if (base == "ro")
        text = romanianLetters(std::move(text));
    text = ellipsis(std::move(text), source);
    text = percentSigns(text, source);
    text = languageQuotes(std::move(text), source, language);

    const std::string_view trimmedSource = text::trimmed(source);
    const OuterWhiteSpace outer = outerWhiteSpace(source, trimmedSource);
    std::string trimmedText = colon(std::string(text::trimmed(text)), trimmedSource);
    trimmedText = trailingPunctuation(trimmedText, trimmedSource, base);

    std::string result;
    result.reserve(outer.leading.size() + trimmedText.size() + outer.trailing.size());
    result.append(outer.leading).append(trimmedText).append(outer.trailing);
    return result;
}

Forms normalize(const Forms& forms, std::string_view source, std::string_view language) {
    Forms cleaned;
    for (const auto& [category, form] : forms)
        cleaned.emplace(category, normalize(form, source, language));
    return cleaned;
}

std::vector<std::string> codeParts(std::string_view code) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= code.size()) {
        const std::size_t end = code.find_first_of("-_", start);
        const std::size_t stop = end == std::string_view::npos ? code.size() : end;
        if (stop > start)
            parts.emplace_back(code.substr(start, stop - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

std::vector<std::string> words(std::string_view text) {
    return text::runsOf(text, isWordCharacter);
}

} // namespace orvel::Normalizer
