#include "engine/pipeline/Normalizer.h"

#include <algorithm>

#include "core/Characters.h"
#include "core/Unicode.h"

namespace orvel::Normalizer {
namespace {

bool isSentenceEnd(std::string_view character) {
    return sentenceEnds().contains(character);
}

// Closing brackets and marks, units and mentions after which a sentence can still take its period.
bool takesPeriodAfter(std::string_view character) {
    static constexpr std::string_view others[] = {")", "]", "\u201D", "\u00BB", "\"", "'", "%", "@"};
    return text::isLetter(character) || text::isDigit(character) ||
           std::ranges::find(others, character) != std::end(others);
}

std::string_view lastWord(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    if (end == std::string_view::npos)
        return {};
    const std::size_t space = text.find_last_of(' ', end);
    const std::size_t start = space == std::string_view::npos ? 0 : space + 1;
    return text.substr(start, end + 1 - start);
}

// "etc." and "p.ex." are abbreviations whose period belongs to the word.
bool isAbbreviation(std::string_view wordWithoutPeriod) {
    if (wordWithoutPeriod.find('.') != std::string_view::npos)
        return true;
    const auto characters = text::graphemes(wordWithoutPeriod);
    return characters.size() <= 3 && std::ranges::all_of(characters, text::isLetter);
}

} // namespace

const std::set<std::string, std::less<>>& sentenceEnds() {
    static const std::set<std::string, std::less<>> characters = {
        ".", "!", "?", "\u2026", ":", ";", "\u3002", "\uFF01", "\uFF1F", "\u061F", "\u0964",
    };
    return characters;
}

const std::set<std::string, std::less<>>& noFinalPeriod() {
    static const std::set<std::string, std::less<>> codes = {
        "ja", "zh", "yue", "ko", "th", "lo", "km", "my", "hi", "ar", "fa", "ur", "he",
    };
    return codes;
}

std::string trailingPunctuation(std::string_view text, std::string_view source, std::string_view baseCode) {
    if (source.empty() || text.empty())
        return std::string(text);
    const std::string_view sourceLast = text::lastCharacter(source);
    const std::string_view textLast = text::lastCharacter(text);

    if (sourceLast == "." && !source.ends_with("...") && !isSentenceEnd(textLast) &&
        !noFinalPeriod().contains(baseCode) && takesPeriodAfter(textLast))
        return std::string(text) + '.';
    if (isSentenceEnd(sourceLast))
        return std::string(text);

    if (textLast != "." || text.ends_with(".."))
        return std::string(text);
    const std::string_view word = lastWord(text);
    if (isAbbreviation(word.substr(0, word.size() - textLast.size())))
        return std::string(text);
    return std::string(text.substr(0, text.size() - textLast.size()));
}

} // namespace orvel::Normalizer
