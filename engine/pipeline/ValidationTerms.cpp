// The checks of an answer against the decisions taken for the whole app and language: macOS names,
// key terms, a leading placeholder, wordings to avoid, and text left in English.

#include <algorithm>

#include "core/CaseFolding.h"
#include "core/CharacterCase.h"
#include "core/FormatSpecifiers.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/TextSplitting.h"
#include "core/Unicode.h"
#include "engine/model/LanguageNotes.h"
#include "engine/model/PluralExamples.h"
#include "engine/pipeline/Terms.h"
#include "engine/pipeline/Validation.h"

namespace orvel::Validation {
namespace {

using Problem = std::optional<std::string>;
using Texts = std::vector<std::string_view>;

// A word that starts the text, a line or a sentence, which is capitalised whatever it means.
constexpr std::string_view sentenceStartPattern = R"((^|[.!?:]\s+|\n)\p{L}+)";
constexpr std::string_view printfPattern =
    R"(%(\d+\$)?[-+ 0#]*\d*(\.\d+)?(hh|h|ll|l|q|z|t|j)?[@dDiuUxXoOfFeEgGcCsSpaA])";
constexpr std::size_t shortestEnglishWord = 3;

bool isChosenAsItself(const Terms::TermMap& terms, const std::string& english) {
    const auto found = terms.find(english);
    return found != terms.end() && found->second == english;
}

bool inGlossary(const Terms::WordSet& glossary, std::string_view term) {
    return !glossary.empty() && glossary.contains(text::lowercased(term));
}

std::string_view firstCharacter(std::string_view text) {
    const auto characters = text::graphemes(text);
    return characters.empty() ? std::string_view() : characters.front();
}

bool allLetters(std::string_view text) {
    const auto characters = text::graphemes(text);
    return std::all_of(characters.begin(), characters.end(),
                       [](std::string_view character) { return text::isLetter(character); });
}

bool hasUppercaseLetter(std::string_view text) {
    const auto characters = text::graphemes(text);
    return std::any_of(characters.begin(), characters.end(),
                       [](std::string_view character) { return text::isUppercaseCharacter(character); });
}

Problem macOSNameProblem(std::string_view source, const Texts& texts, const Terms::TermMap& terms,
                         const AppleReference& reference, std::string_view language) {
    for (const auto& [english, wording] : reference.pairs(source)) {
        if (isChosenAsItself(terms, english))
            continue;
        for (std::string_view text : texts)
            if (!Terms::carries(text, wording, language))
                return "macOS calls \"" + english + "\" «" + wording + "»: use that name";
    }
    return std::nullopt;
}

// A capitalised term counts only where it is not capitalised merely because a sentence begins with it.
bool occursAsName(std::string_view cleanedSource, const std::string& term) {
    if (!allLetters(term) || !hasUppercaseLetter(term))
        return Terms::matches(cleanedSource, term, false, false);
    if (cleanedSource == term)
        return true;
    const CompiledRegex sentenceStart = RegexCache::regex(sentenceStartPattern);
    if (!sentenceStart)
        return false;
    return Terms::matches(regex::replaceAll(*sentenceStart, cleanedSource, "$1 "), term, true, false);
}

Problem untranslatedNameProblem(std::string_view cleanedSource, const Texts& texts,
                                const Terms::TermMap& terms, const Terms::WordSet& glossary) {
    for (const auto& [term, word] : terms) {
        if (word != term || !(inGlossary(glossary, term) || Terms::isCapitalised(term)))
            continue;
        if (!occursAsName(cleanedSource, term))
            continue;
        for (std::string_view text : texts)
            if (!text::containsIgnoringCase(text, term))
                return "keep the name \"" + term + "\" exactly as written";
    }
    return std::nullopt;
}

Problem chosenWordProblem(std::string_view cleanedSource, const Texts& texts, const Terms::TermMap& terms,
                          const Terms::WordSet& glossary, std::string_view language) {
    for (const auto& [term, word] : terms) {
        if (word == term || !inGlossary(glossary, term))
            continue;
        const bool caseSensitive = allLetters(term) && text::isUppercaseCharacter(firstCharacter(term));
        if (!Terms::matches(cleanedSource, term, caseSensitive, true))
            continue;
        for (std::string_view text : texts)
            if (!Terms::carries(text, word, language))
                return "\"" + term + "\" is «" + word + "» everywhere in this app";
    }
    return std::nullopt;
}

// "%@ Settings" names something after the placeholder; moving the placeholder would change the name.
Problem leadingPlaceholderProblem(std::string_view source, const Texts& texts) {
    const auto pieces = text::wordsBetweenSpaces(source);
    if (pieces.size() != 2 || !text::isUppercaseCharacter(firstCharacter(pieces[1])))
        return std::nullopt;
    const auto placeholders = FormatSpecifiers::parse(source);
    if (placeholders.empty() || placeholders.front().range.start != 0)
        return std::nullopt;
    const std::string& raw = placeholders.front().raw;
    for (std::string_view text : texts)
        if (!text.starts_with(raw))
            return "keep " + raw + " at the start, where the source has it";
    return std::nullopt;
}

Problem avoidProblem(std::string_view source, const Texts& texts, std::string_view language) {
    const auto notes = LanguageNotes::notes(language);
    if (!notes)
        return std::nullopt;
    for (std::string_view text : texts)
        if (auto advice = notes->firstAdvice(Terms::removingCode(text), source))
            return advice;
    return std::nullopt;
}

std::size_t englishLookingWords(std::string_view cleanedSource) {
    const CompiledRegex placeholders = RegexCache::regex(printfPattern);
    const std::string words =
        placeholders ? regex::replaceAll(*placeholders, cleanedSource, " ") : std::string(cleanedSource);
    const auto pieces = text::wordsBetweenSpaces(words);
    return static_cast<std::size_t>(std::count_if(pieces.begin(), pieces.end(), [](const std::string& piece) {
        return text::graphemeCount(piece) >= shortestEnglishWord && allLetters(piece) &&
               text::isLowercaseCharacter(firstCharacter(piece));
    }));
}

Problem leftInEnglishProblem(std::string_view source, std::string_view cleanedSource,
                             const std::optional<std::string>& text, std::string_view language) {
    if (PluralExamples::baseCode(language) == "en" || !text || !text::canonicallyEqual(*text, source))
        return std::nullopt;
    if (englishLookingWords(cleanedSource) < 2 || source.find("--") != std::string_view::npos)
        return std::nullopt;
    return "it was left in English";
}

} // namespace

std::optional<std::string> termProblem(const SourceString& source, const std::optional<std::string>& text,
                                       const std::optional<PluralForms>& plural, std::string_view language,
                                       const std::map<std::string, std::string>& terms,
                                       const std::set<std::string, std::less<>>& glossary,
                                       const std::optional<AppleReference>& reference) {
    const Texts texts = answerTexts(text, plural);
    const std::string cleanedSource = Terms::removingCode(source.text);
    if (reference)
        if (auto found = macOSNameProblem(source.text, texts, terms, *reference, language))
            return found;
    if (auto found = untranslatedNameProblem(cleanedSource, texts, terms, glossary))
        return found;
    if (auto found = chosenWordProblem(cleanedSource, texts, terms, glossary, language))
        return found;
    if (auto found = leadingPlaceholderProblem(source.text, texts))
        return found;
    if (auto found = avoidProblem(source.text, texts, language))
        return found;
    return leftInEnglishProblem(source.text, cleanedSource, text, language);
}

} // namespace orvel::Validation
