#include "engine/pipeline/Terms.h"

#include <algorithm>
#include <cmath>

#include "core/CharacterCase.h"
#include "core/Characters.h"
#include "core/DiacriticFolding.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/RegexEscaping.h"
#include "core/TextPrefix.h"
#include "core/TextSplitting.h"
#include "core/Unicode.h"
#include "core/WordSpacing.h"
#include "engine/pipeline/JoinedPrefixes.h"

namespace orvel::Terms {
namespace {

bool isWordCharacter(std::string_view character) {
    return text::isLetter(character) || text::isDigit(character);
}

bool isCapitalLetter(std::string_view character) {
    return text::isLetter(character) && text::isUppercaseCharacter(character);
}

std::size_t stemLength(std::size_t characters) {
    const auto share = static_cast<std::size_t>(std::trunc(0.6 * static_cast<double>(characters)));
    return std::max<std::size_t>(3, std::min(characters - 2, share));
}

constexpr std::size_t shortestStemmedWord = 3;

char asciiLowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c ^ 0x20) : c;
}

bool beginsSomeWord(const std::vector<std::string>& textWords, std::string_view stem) {
    const std::size_t characters = text::graphemeCount(stem);
    return std::any_of(textWords.begin(), textWords.end(), [&](const std::string& word) {
        return text::firstCharacters(word, characters) == stem;
    });
}

void addGlossary(WordSet& terms, const std::vector<AppManifest::Term>& glossary) {
    for (const auto& entry : glossary)
        terms.insert(text::lowercased(entry.term));
}

} // namespace

WordSet list(const TranslationJob& job) {
    WordSet terms;
    if (job.app.manifest && job.app.manifest->glossary)
        addGlossary(terms, *job.app.manifest->glossary);
    addGlossary(terms, job.notes.glossary);
    return terms;
}

std::vector<std::string> words(std::string_view text) {
    return text::runsOf(text, isWordCharacter);
}

CompiledRegex wholeWord(std::string_view term, bool caseSensitive, bool plural) {
    // The pattern of an empty term would match between any two non-letters.
    if (term.empty())
        return nullptr;
    // A pattern compiled to ignore case closes each of its sets over case, and closing the set of all
    // letters takes about two milliseconds, nearly all of what compiling a term costs. So the case is
    // ignored in the term alone, and the letters around it are the closed set written out: every letter
    // and U+0345, the one other character that folds to a letter (a Greek iota).
    const std::string_view letter = caseSensitive ? R"([\p{L}])" : R"([\p{L}\x{345}])";
    std::string out = "(?<!" + std::string(letter) + ")";
    if (!caseSensitive)
        out += "(?i:";
    out += regex::escapedPattern(term);
    if (plural)
        out += "(?:s|es)?";
    if (!caseSensitive)
        out += ")";
    out += "(?!" + std::string(letter) + ")";
    return RegexCache::regex(out);
}

Search::Search(std::string_view term, bool caseSensitive, bool plural)
    : m_term(term), m_caseSensitive(caseSensitive), m_plural(plural),
      m_plain(caseSensitive         ? std::string(term)
              : text::isAscii(term) ? text::lowercased(term)
                                    : std::string()) {}

bool Search::canHold(std::string_view text) const {
    if (m_term.empty())
        return false;
    if (m_caseSensitive)
        return text.find(m_plain) != std::string_view::npos;
    // In ASCII text, ignoring case matches an ASCII letter only with its other case.
    return m_plain.empty() || !text::isAscii(text) ||
           std::search(text.begin(), text.end(), m_plain.begin(), m_plain.end(),
                       [](char a, char b) { return asciiLowered(a) == b; }) != text.end();
}

bool Search::in(std::string_view text) const {
    if (!canHold(text))
        return false;
    const CompiledRegex pattern = wholeWord(m_term, m_caseSensitive, m_plural);
    return pattern && regex::contains(*pattern, text);
}

bool Search::inAny(const std::vector<SourceString>& strings) const {
    CompiledRegex pattern;
    for (const SourceString& string : strings) {
        if (!canHold(string.text))
            continue;
        if (!pattern && !(pattern = wholeWord(m_term, m_caseSensitive, m_plural)))
            return false;
        if (regex::contains(*pattern, string.text))
            return true;
    }
    return false;
}

bool matches(std::string_view text, std::string_view term, bool caseSensitive, bool plural) {
    return Search(term, caseSensitive, plural).in(text);
}

std::string removingCode(std::string_view text) {
    const CompiledRegex code = RegexCache::regex("`[^`]*`");
    if (!code)
        return std::string(text);
    return regex::replaceAll(*code, text, " ");
}

bool occurs(const SourceString& string, std::string_view term) {
    return string.translate && matches(string.text, term, false, true);
}

bool occursInAny(std::string_view term, const std::vector<SourceString>& strings) {
    return Search(term).inAny(strings);
}

std::vector<TermPair> present(const TermMap& terms, const std::vector<SourceString>& strings) {
    std::vector<std::pair<std::size_t, TermPair>> found;
    for (const auto& [term, word] : terms)
        if (occursInAny(term, strings))
            found.push_back({text::graphemeCount(term), {term, word}});
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TermPair> pairs;
    pairs.reserve(found.size());
    for (auto& [length, pair] : found)
        pairs.push_back(std::move(pair));
    return pairs;
}

std::vector<std::string> folded(std::string_view text) {
    std::vector<std::string> stems;
    for (const std::string& word : words(text::foldedCaseAndDiacritics(text))) {
        const std::size_t characters = text::graphemeCount(word);
        if (characters >= shortestStemmedWord)
            stems.emplace_back(text::firstCharacters(word, stemLength(characters)));
    }
    return stems;
}

bool containsFolded(std::string_view text, std::string_view wording, std::string_view language) {
    const std::vector<std::string> stems = folded(wording);
    if (stems.empty())
        return false;
    const std::vector<std::string> textWords =
        withJoinedPrefixesRemoved(words(text::foldedCaseAndDiacritics(text)), language);
    return std::all_of(stems.begin(), stems.end(),
                       [&](const std::string& stem) { return beginsSomeWord(textWords, stem); });
}

bool carries(std::string_view text, std::string_view wording, std::string_view language) {
    const std::string foldedText = text::foldedCaseAndDiacritics(text);
    const std::vector<std::string> textWords = withJoinedPrefixesRemoved(words(foldedText), language);
    const std::vector<std::string> wordingWords = words(text::foldedCaseAndDiacritics(wording));
    bool hasLongWord = false;
    for (const std::string& word : wordingWords) {
        // "打开系统设置" holds "系统设置": such scripts mark no word boundary to look for.
        if (text::hasTextWithoutSpaces(word)) {
            hasLongWord = true;
            if (foldedText.find(word) == std::string::npos)
                return false;
        } else if (const std::size_t characters = text::graphemeCount(word);
                   characters >= shortestStemmedWord) {
            hasLongWord = true;
            if (!beginsSomeWord(textWords, text::firstCharacters(word, stemLength(characters))))
                return false;
        }
    }
    if (hasLongWord)
        return true;
    return !wordingWords.empty() &&
           std::all_of(wordingWords.begin(), wordingWords.end(), [&](const auto& word) {
               return std::find(textWords.begin(), textWords.end(), word) != textWords.end();
           });
}

bool isCapitalised(std::string_view term) {
    static constexpr std::string_view allowedMarks[] = {"/", "-", "&", "²", "³"};
    const auto characters = text::graphemes(term);
    if (characters.size() < 2 || characters.size() > 8)
        return false;
    int capitals = 0;
    for (std::string_view character : characters) {
        if (isCapitalLetter(character))
            ++capitals;
        else if (!text::isDigit(character) && std::find(std::begin(allowedMarks), std::end(allowedMarks),
                                                        character) == std::end(allowedMarks))
            return false;
    }
    return capitals >= 2;
}

bool dropsChosenWord(std::string_view source, std::string_view before, std::string_view after,
                     const TermMap& terms, std::string_view language) {
    return std::any_of(terms.begin(), terms.end(), [&](const auto& entry) {
        const auto& [term, word] = entry;
        return matches(source, term, false, true) && !folded(word).empty() &&
               containsFolded(before, word, language) && !containsFolded(after, word, language);
    });
}

} // namespace orvel::Terms
