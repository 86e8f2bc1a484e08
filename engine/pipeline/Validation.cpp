#include "engine/pipeline/Validation.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/FormatSpecifiers.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/TextPieces.h"
#include "engine/model/PluralExamples.h"
#include "engine/pipeline/ValidationCount.h"
#include "engine/pipeline/ValidationLists.h"
#include "engine/pipeline/VariableMasking.h"

namespace orvel::Validation {
namespace {

using Problem = std::optional<std::string>;

constexpr std::string_view arrow = "→";
// An upper-case word and one integer placeholder, such as a page or chapter label.
constexpr std::string_view nameWithNumberPattern = R"(^\p{Lu}\p{L}*\s+%(?:\d\$)?l{0,2}d$)";

// The number of pieces that splitting at every non-overlapping occurrence of `separator` gives.
std::size_t pieceCount(std::string_view text, std::string_view separator) {
    std::size_t pieces = 1;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, at + separator.size()))
        ++pieces;
    return pieces;
}

std::vector<std::string> sourceVariables(std::string_view text) {
    return variables(text, VariableMasking::variablePattern);
}

std::string variablesSentence(const std::vector<std::string>& expected) {
    return "the translation must keep the variables " + text::joined(expected, " ") + " exactly as written";
}

std::string_view trimmedSpacesAndTabs(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Each placeholder's argument number (its explicit position, else the next in turn) with its type.
std::vector<std::pair<std::int64_t, std::string>> argumentTypes(std::string_view text) {
    std::vector<std::pair<std::int64_t, std::string>> arguments;
    std::int64_t next = 0;
    for (auto& specifier : FormatSpecifiers::parse(text))
        arguments.emplace_back(specifier.position ? *specifier.position : ++next, std::move(specifier.type));
    std::sort(arguments.begin(), arguments.end());
    return arguments;
}

// Each placeholder's argument number with its type class: what the app passes in, whatever the spelling.
std::vector<std::pair<std::int64_t, std::string>> argumentClasses(std::string_view text) {
    auto arguments = argumentTypes(text);
    for (auto& [position, type] : arguments)
        type = FormatSpecifiers::typeClass(type);
    std::sort(arguments.begin(), arguments.end());
    return arguments;
}

// The argument number of the count, the first whole-number placeholder, numbered as `argumentTypes` does.
std::optional<std::int64_t> countArgument(std::string_view text) {
    std::int64_t next = 0;
    for (const auto& specifier : FormatSpecifiers::parse(text)) {
        const std::int64_t argument = specifier.position ? *specifier.position : ++next;
        if (specifier.isWholeNumber())
            return argument;
    }
    return std::nullopt;
}

// Whether a plural form reads the same arguments as the source, each as the same kind of value: it may
// leave out the count ("one file"), but only where that moves no other argument. "%d files in %@" without
// its count reads the object as argument 1, "%d Datei in %@" for "%@ has %d files" swaps the kinds, and
// "%d von einer Datei" for "%d of %d files" drops a number that is not the count.
bool readsSourceArguments(std::string_view form, std::string_view source) {
    const auto expected = argumentClasses(source);
    const auto given = argumentClasses(form);
    const auto count = countArgument(source);
    const auto isIn = [](const auto& arguments) {
        return [&arguments](const auto& argument) {
            return std::binary_search(arguments.begin(), arguments.end(), argument);
        };
    };
    return std::all_of(given.begin(), given.end(), isIn(expected)) &&
           std::all_of(expected.begin(), expected.end(), [&](const auto& argument) {
               return isIn(given)(argument) || argument.first == count;
           });
}

std::string placeholderSpellingSentence(std::string_view source) {
    return "write the placeholders exactly as in the source: " + placeholderList(source);
}

bool needsPlaceholderChecks(std::string_view source) {
    return !FormatSpecifiers::parse(source).empty() || source.find("%%") != std::string_view::npos;
}

Problem markersProblem(const std::vector<std::string_view>& texts, std::string_view source) {
    for (const auto marker : markers)
        for (const auto text : texts)
            if (pieceCount(text, marker) != pieceCount(source, marker))
                return "keep every " + std::string(marker) + " of the source, around the matching words";
    return std::nullopt;
}

Problem arrowProblem(const std::vector<std::string_view>& texts, std::string_view source) {
    if (source.find(arrow) != std::string_view::npos)
        return std::nullopt;
    for (const auto text : texts)
        if (text.find(arrow) != std::string_view::npos)
            return "write only the translation, without the old text, an arrow or a comment";
    return std::nullopt;
}

std::string keepPlaceholdersProblem(std::string_view source) {
    return "the translation must keep exactly the placeholders " + placeholderList(source);
}

// Whether every placeholder of the form is spelled as the source spells the same argument; the count
// may be missing, as readsSourceArguments() allows.
bool spellsSourceArguments(std::string_view form, std::string_view source) {
    const auto expected = argumentTypes(source);
    const auto given = argumentTypes(form);
    return std::includes(expected.begin(), expected.end(), given.begin(), given.end());
}

Problem singleTextProblem(const std::optional<std::string>& text, std::string_view source,
                          bool placeholders) {
    if (!text || trimmedSpacesAndTabs(*text).empty())
        return "the translation is empty";
    if (auto problem = variablesProblem(*text, source))
        return problem;
    // A source without placeholders has no argument to show: a placeholder added to its translation
    // would be shown as written ("%@"), or read an argument the app never passes.
    if (!placeholders)
        return FormatSpecifiers::parse(*text).empty() ? Problem() : keepPlaceholdersProblem(source);
    if (FormatSpecifiers::signature(*text) != FormatSpecifiers::signature(source))
        return keepPlaceholdersProblem(source);
    if (auto problem = placeholderSpellingProblem(*text, source))
        return problem;
    return percentProblem(*text, source);
}

bool isNameWithNumber(std::string_view source) {
    const CompiledRegex pattern = RegexCache::regex(nameWithNumberPattern);
    return pattern && regex::contains(*pattern, source);
}

Problem missingFormsProblem(const PluralForms& forms, std::string_view language) {
    std::vector<std::string> missing;
    for (const auto& category : PluralExamples::requiredCategories(language)) {
        const auto form = forms.find(category);
        if (form == forms.end() || form->second.empty())
            missing.push_back(category);
    }
    if (missing.empty())
        return std::nullopt;
    return "the plural forms need one form for each of " + PluralExamples::describe(language) +
           "; missing: " + text::joined(missing, ", ");
}

// The type classes without their "int" entries, and how many "int" entries there were.
std::pair<std::vector<std::string>, std::size_t> splitIntegers(std::vector<std::string> classes) {
    const auto integers = static_cast<std::size_t>(std::erase(classes, std::string("int")));
    return {std::move(classes), integers};
}

Problem pluralFormsProblem(const PluralForms& forms, const SourceString& source,
                           std::optional<std::string_view> language, bool placeholders) {
    const std::string_view english = source.text;
    if (!FormatSpecifiers::countValueType(english))
        return "the source has no whole-number placeholder, so it has no plural forms: answer one plain text";
    if (!source.plural && isNameWithNumber(english))
        return "this is a name with a number, not a count: answer one plain text with no plural forms";
    const auto other = forms.find("other");
    if (other == forms.end() || other->second.empty())
        return "the plural forms need an \"other\" form";
    if (language)
        if (auto problem = missingFormsProblem(forms, *language))
            return problem;
    if (const auto expected = sourceVariables(english); !expected.empty())
        for (const auto& [category, form] : forms)
            if (sourceVariables(form) != expected)
                return variablesSentence(expected);
    if (!placeholders)
        return std::nullopt;
    const auto [sourceOthers, sourceIntegers] = splitIntegers(FormatSpecifiers::signature(english));
    const auto keepSentence = [&](const std::string& category) {
        return "the \"" + category + "\" form must keep the placeholders " + placeholderList(english);
    };
    for (const auto& [category, form] : forms) {
        // A form may leave the count out where its category is one number ("one file"), but may not add
        // or change any placeholder.
        const auto [formOthers, formIntegers] = splitIntegers(FormatSpecifiers::signature(form));
        if (formOthers != sourceOthers || formIntegers > sourceIntegers)
            return keepSentence(category);
        if (formIntegers < sourceIntegers)
            if (auto problem = leftOutCountProblem(category, language, english))
                return problem;
        if (!readsSourceArguments(form, english))
            return keepSentence(category);
        if (!spellsSourceArguments(form, english))
            return placeholderSpellingSentence(english);
        if (auto problem = percentProblem(form, english))
            return problem;
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string_view> answerTexts(const std::optional<std::string>& text,
                                          const std::optional<PluralForms>& plural) {
    std::vector<std::string_view> texts;
    if (plural && !plural->empty()) {
        for (const auto& [category, form] : *plural)
            texts.push_back(form);
    } else if (text) {
        // An empty forms map is no forms: the single text is then the answer and is checked like one,
        // so that '"plural": {}' beside a text cannot carry a leftover arrow past the checks.
        texts.push_back(*text);
    } else if (!plural) {
        // No answer at all reads as the empty text; an empty forms map alone has no texts to look at.
        texts.emplace_back();
    }
    return texts;
}

std::optional<std::string> problem(const std::optional<std::string>& text,
                                   const std::optional<PluralForms>& plural, const SourceString& source,
                                   std::optional<std::string_view> language) {
    const std::string_view english = source.text;
    const bool placeholders = needsPlaceholderChecks(english);
    const auto texts = answerTexts(text, plural);
    if (auto found = markersProblem(texts, english))
        return found;
    if (auto found = arrowProblem(texts, english))
        return found;
    if (!plural || plural->empty())
        return singleTextProblem(text, english, placeholders);
    return pluralFormsProblem(*plural, source, language, placeholders);
}

std::optional<std::string> variablesProblem(std::string_view answer, std::string_view source) {
    const auto expected = sourceVariables(source);
    if (expected.empty() || sourceVariables(answer) == expected)
        return std::nullopt;
    return variablesSentence(expected);
}

std::optional<std::string> placeholderSpellingProblem(std::string_view answer, std::string_view source) {
    if (placeholderTypes(answer) == placeholderTypes(source) &&
        argumentTypes(answer) == argumentTypes(source))
        return std::nullopt;
    return placeholderSpellingSentence(source);
}

std::optional<std::string> percentProblem(std::string_view answer, std::string_view source) {
    if (pieceCount(answer, "%%") == pieceCount(source, "%%") &&
        lonePercentCount(answer) <= lonePercentCount(source))
        return std::nullopt;
    return "a literal percent sign must stay written as %% like in the source";
}

} // namespace orvel::Validation
