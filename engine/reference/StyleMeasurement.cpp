#include "engine/reference/StyleMeasurement.h"

#include <algorithm>
#include <tuple>

#include "core/Characters.h"
#include "core/Regex.h"
#include "core/TextPieces.h"
#include "core/Unicode.h"

namespace orvel {
namespace {

constexpr std::string_view curlySpanPattern = "“[^”\"]{1,60}”";
constexpr std::string_view straightSpanPattern = "\"[^\"]{1,60}\"";
constexpr std::string_view titleCaseLabelPattern = "^[A-Z][a-z]+(?: [A-Z][a-z]+){1,2}$";
constexpr std::string_view secondPersonPattern = R"((?i)\byour?\b)";

constexpr std::size_t examplesPerCase = 3;
constexpr std::size_t imperativesKept = 15;
constexpr std::size_t longestImperative = 120;

// A pattern that does not compile finds nothing.
bool found(std::string_view pattern, std::string_view text) {
    const CompiledRegex compiled = RegexCache::regex(pattern, false);
    return compiled && regex::contains(*compiled, text);
}

std::size_t spaceSeparatedWords(std::string_view text) {
    std::size_t count = 0;
    bool inWord = false;
    for (char byte : text) {
        if (byte == ' ') {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

// An imperative with what decides its place among those of the same verb.
struct Example {
    std::vector<std::string> englishAndTranslation;
    bool secondPerson;
    bool fourWordsOrMore;
    std::size_t length;

    explicit Example(std::string english, std::string translation)
        : secondPerson(found(secondPersonPattern, english)),
          fourWordsOrMore(spaceSeparatedWords(english) >= 4), length(text::graphemeCount(english)) {
        englishAndTranslation = {std::move(english), std::move(translation)};
    }
    const std::string& english() const { return englishAndTranslation.front(); }
};

// Second person first, then four words or more, then shorter, then the English.
bool showsMore(const Example& a, const Example& b) {
    if (a.secondPerson != b.secondPerson)
        return a.secondPerson;
    if (a.fourWordsOrMore != b.fourWordsOrMore)
        return a.fourWordsOrMore;
    if (a.length != b.length)
        return a.length < b.length;
    return a.english() < b.english();
}

std::vector<std::vector<std::string>> chooseImperatives(std::vector<std::vector<Example>> byVerb) {
    for (auto& examples : byVerb)
        std::stable_sort(examples.begin(), examples.end(), showsMore);
    std::vector<std::vector<std::string>> chosen;
    // One from each verb per round, so the examples alternate between verbs.
    for (std::size_t round = 0; chosen.size() < imperativesKept; ++round) {
        bool any = false;
        for (auto& examples : byVerb) {
            if (round >= examples.size() || chosen.size() >= imperativesKept)
                continue;
            chosen.push_back(std::move(examples[round].englishAndTranslation));
            any = true;
        }
        if (!any)
            break;
    }
    return chosen;
}

void countQuotes(StyleStats& stats, std::string_view english, std::string_view translation) {
    if (found(curlySpanPattern, english))
        ++stats.quotes[StyleStats::quoteStyle(translation)];
    else if (found(straightSpanPattern, english))
        ++stats.straightQuotes[StyleStats::quoteStyle(translation)];
}

void countEllipsis(StyleStats& stats, std::string_view english, std::string_view translation) {
    if (!english.ends_with("…") && !english.ends_with("..."))
        return;
    ++stats.ellipsis[translation.ends_with("…") ? "…" : translation.ends_with("...") ? "..." : "none"];
}

void countLabel(StyleStats& stats, const std::string& english, const std::string& translation) {
    if (!found(titleCaseLabelPattern, english))
        return;
    std::string caseClass = StyleStats::labelCaseOf(translation);
    ++stats.labelCase[caseClass];
    const auto sameClass = std::count_if(stats.labelExamples.begin(), stats.labelExamples.end(),
                                         [&](const auto& example) { return example.front() == caseClass; });
    if (static_cast<std::size_t>(sameClass) < examplesPerCase)
        stats.labelExamples.push_back({std::move(caseClass), english, translation});
}

// The verb that opens an English instruction, if it is short enough and one line.
std::optional<std::size_t> imperativeVerb(std::string_view english) {
    if (english.find('\n') != std::string_view::npos || text::graphemeCount(english) > longestImperative)
        return std::nullopt;
    const auto& verbs = StyleStats::imperativeVerbs();
    for (std::size_t verb = 0; verb < verbs.size(); ++verb)
        if (english.size() > verbs[verb].size() && english.starts_with(verbs[verb]) &&
            english[verbs[verb].size()] == ' ')
            return verb;
    return std::nullopt;
}

} // namespace

StyleStats measureStyle(const std::vector<SoftwareReference::Pair>& pairs) {
    std::vector<const SoftwareReference::Pair*> ordered;
    ordered.reserve(pairs.size());
    for (const auto& pair : pairs)
        ordered.push_back(&pair);
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
        return std::tie(a->english, a->translation, a->key) < std::tie(b->english, b->translation, b->key);
    });

    StyleStats stats;
    std::vector<std::vector<Example>> imperativesByVerb(StyleStats::imperativeVerbs().size());
    for (const SoftwareReference::Pair* pair : ordered) {
        const std::string english(text::trimmed(pair->english));
        const std::string translation(text::trimmed(pair->translation));
        countQuotes(stats, english, translation);
        countEllipsis(stats, english, translation);
        StyleStats::countSpaceBefore(translation, stats.spaceBefore);
        if (english.ends_with("?") && !translation.empty())
            ++stats.questions[std::string(text::lastCharacter(translation))];
        countLabel(stats, english, translation);
        if (auto verb = imperativeVerb(english))
            imperativesByVerb[*verb].emplace_back(english, translation);
    }
    stats.imperatives = chooseImperatives(std::move(imperativesByVerb));
    return stats;
}

} // namespace orvel
