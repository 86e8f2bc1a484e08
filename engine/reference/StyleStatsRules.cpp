#include <algorithm>
#include <vector>

#include "core/CharacterCase.h"
#include "core/Characters.h"
#include "core/Unicode.h"
#include "engine/reference/StyleStats.h"

namespace orvel {
namespace {

using Characters = std::vector<std::string_view>;

bool isApostrophe(const Characters& characters, std::size_t at) {
    if (characters[at] != "’" && characters[at] != "‘")
        return false;
    return at > 0 && at + 1 < characters.size() && text::isLetter(characters[at - 1]) &&
           text::isLetter(characters[at + 1]);
}

bool isQuotationMark(const Characters& characters, std::size_t at) {
    return StyleStats::quoteMarks().contains(characters[at]) && !isApostrophe(characters, at);
}

bool isWhitespaceCharacter(std::string_view character) {
    std::size_t offset = 0;
    char32_t scalar;
    return text::nextScalar(character, offset, scalar) && text::isWhitespace(scalar);
}

// The words of a label: pieces between spaces and no-break spaces that begin with a letter.
std::vector<std::string_view> labelWords(std::string_view translation) {
    std::vector<std::string_view> found;
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
        std::string_view piece = translation.substr(start, end - start);
        if (!piece.empty() && text::isLetter(text::graphemes(piece).front()))
            found.push_back(piece);
    };
    for (std::size_t at = 0; at < translation.size();) {
        if (translation[at] == ' ') {
            flush(at);
            start = ++at;
        } else if (translation.substr(at, 2) == "\u00A0") {
            flush(at);
            start = at += 2;
        } else {
            ++at;
        }
    }
    flush(translation.size());
    return found;
}

std::string_view firstCharacter(std::string_view word) {
    return text::graphemes(word).front();
}

} // namespace

const std::set<std::string, std::less<>>& StyleStats::quoteMarks() {
    static const std::set<std::string, std::less<>> marks{"„", "“", "”",  "«",  "»",  "‹",  "›",  "‚",
                                                          "‘", "’", "「", "」", "『", "』", "\"", "״"};
    return marks;
}

const std::map<std::string, std::string, std::less<>>& StyleStats::fullWidthMarks() {
    static const std::map<std::string, std::string, std::less<>> marks{
        {"：", ":"}, {"；", ";"}, {"？", "?"}, {"！", "!"}};
    return marks;
}

const std::array<std::string_view, 28>& StyleStats::imperativeVerbs() {
    static constexpr std::array<std::string_view, 28> verbs{
        "Click",  "Choose",  "Enter",    "Select",  "Press",   "Make sure", "Try",
        "Please", "Use",     "Allow",    "Check",   "Type",    "Drag",      "Tap",
        "Go to",  "Turn on", "Turn off", "Restart", "Install", "Sign in",   "Open",
        "Add",    "Remove",  "Set",      "Save",    "Visit",   "Contact",   "Wait"};
    return verbs;
}

std::string StyleStats::quoteStyle(std::string_view translation) {
    const Characters characters = text::graphemes(translation);
    std::size_t opening = 0;
    while (opening < characters.size() && !isQuotationMark(characters, opening))
        ++opening;
    std::size_t closing = opening + 2;
    while (closing < characters.size() && !isQuotationMark(characters, closing))
        ++closing;
    if (closing >= characters.size())
        return "none";
    std::string label = std::string(characters[opening]) + "…" + std::string(characters[closing]);
    if (auto space = spaceName(characters[opening + 1]))
        label += " with " + *space + "s inside";
    return label;
}

std::optional<std::string> StyleStats::spaceName(std::string_view character) {
    if (character == " ")
        return "space";
    if (character == "\u00A0")
        return "no-break space";
    if (character == "\u202F")
        return "narrow no-break space";
    return std::nullopt;
}

void StyleStats::countSpaceBefore(std::string_view translation, std::map<std::string, Counts>& spaceBefore) {
    const Characters characters = text::graphemes(translation);
    for (std::size_t at = 1; at < characters.size(); ++at) {
        const std::string_view mark = characters[at];
        if (auto fullWidth = fullWidthMarks().find(mark); fullWidth != fullWidthMarks().end()) {
            ++spaceBefore[fullWidth->second]["full-width mark"];
            continue;
        }
        if (mark != ":" && mark != ";" && mark != "?" && mark != "!")
            continue;
        if (at + 1 < characters.size()) {
            const std::string_view next = characters[at + 1];
            // Web addresses and times such as 10:30.
            if (mark == ":" && (next == "/" || text::isDigit(next)))
                continue;
            // A mark inside a word ends nothing.
            if (text::isLetter(next) || text::isDigit(next))
                continue;
        }
        const std::string_view before = characters[at - 1];
        std::string kind = spaceName(before).value_or(isWhitespaceCharacter(before) ? "other space" : "none");
        ++spaceBefore[std::string(mark)][kind];
    }
}

std::string StyleStats::labelCaseOf(std::string_view translation) {
    const std::vector<std::string_view> words = labelWords(translation);
    if (words.empty())
        return "other";
    const std::string_view first = firstCharacter(words.front());
    const bool upper = text::isUppercaseCharacter(first);
    if (!upper && !text::isLowercaseCharacter(first))
        return "no case";
    if (words.size() == 1)
        return "one word";
    auto all = [&](bool (*test)(std::string_view)) {
        return std::all_of(words.begin() + 1, words.end(),
                           [&](std::string_view word) { return test(firstCharacter(word)); });
    };
    if (upper) {
        if (all(text::isUppercaseCharacter))
            return "title case";
        if (all(text::isLowercaseCharacter))
            return "sentence case";
        return "mixed";
    }
    return all(text::isLowercaseCharacter) ? "lowercase" : "mixed";
}

} // namespace orvel
