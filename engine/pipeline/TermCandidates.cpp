#include "engine/pipeline/Terms.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "core/CharacterCase.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/TaskGroup.h"
#include "core/TextPieces.h"
#include "core/Unicode.h"

namespace orvel::Terms {
namespace {

constexpr std::string_view placeholderPattern =
    R"(%(\d+\$)?[-+ 0#]*\d*(\.\d+)?(hh|h|ll|l|q|z|t|j)?[@dDiuUxXoOfFeEgGcCsSpaA])";
constexpr std::size_t longestPhrase = 3;

struct Phrase {
    int count = 0;
    // As the app writes it.
    std::string display;
};

// Tens of thousands of strings give hundreds of thousands of runs of words to look up: hashed, not
// ordered. The order of the candidates comes from candidateOrder alone.
using Phrases = std::unordered_map<std::string, Phrase>;
using WordLookup = std::unordered_set<std::string_view>;

WordLookup lookupOf(const WordSet& words) {
    return WordLookup(words.begin(), words.end());
}

bool isApostrophe(std::string_view character) {
    return character == "'" || character == "’";
}

bool isTokenCharacter(std::string_view character) {
    return text::isLetter(character) || character == "-" || isApostrophe(character);
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Words and hyphenated words; words with an apostrophe ("don't", "app's") are no tokens.
std::vector<std::string> tokens(std::string_view text) {
    std::vector<std::string> found;
    std::string current;
    bool hasApostrophe = false;
    const auto finish = [&] {
        if (!current.empty() && !hasApostrophe)
            found.push_back(current);
        current.clear();
        hasApostrophe = false;
    };
    // Most texts are ASCII, whose characters are its bytes: no walk of the clusters.
    if (text::isAscii(text)) {
        for (const char c : text) {
            if (!isAsciiLetter(c) && c != '-' && c != '\'') {
                finish();
                continue;
            }
            hasApostrophe = hasApostrophe || c == '\'';
            current.push_back(c);
        }
        finish();
        return found;
    }
    for (std::string_view character : text::graphemes(text)) {
        if (!isTokenCharacter(character)) {
            finish();
            continue;
        }
        hasApostrophe = hasApostrophe || isApostrophe(character);
        current.append(character);
    }
    finish();
    return found;
}

bool startsWithLowercase(std::string_view phrase) {
    if (text::isAscii(phrase))
        return !phrase.empty() && phrase.front() >= 'a' && phrase.front() <= 'z';
    const auto characters = text::graphemes(phrase);
    return !characters.empty() && text::isLetter(characters.front()) &&
           text::isLowercaseCharacter(characters.front());
}

// Whether the text has fewer than `count` characters. Phrases are nearly always plain ASCII, where
// every byte is one character; the costly grapheme walk is left to the rest.
bool hasFewerCharacters(std::string_view text, std::size_t count) {
    const bool plain = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\r'; });
    return (plain ? text.size() : text::graphemeCount(text)) < count;
}

// Whether a run of tokens can name a thing: it neither begins nor ends with a filler word, does not
// begin an instruction, is not one word of many senses, and has no one-letter token. `lowered` and
// `oneLetter` hold each token of the run lower-cased and whether it has a single character.
bool isPhrase(std::span<const std::string> lowered, std::span<const char> oneLetter) {
    static const WordLookup stops = lookupOf(stopWords());
    static const WordLookup commands = lookupOf(commandVerbs());
    static const WordLookup ambiguous = lookupOf(ambiguousWords());
    const std::string& first = lowered.front();
    const std::string& last = lowered.back();
    if (stops.contains(first) || stops.contains(last) || commands.contains(first))
        return false;
    if (lowered.size() == 1 && ambiguous.contains(first))
        return false;
    return std::none_of(oneLetter.begin(), oneLetter.end(), [](char shortToken) { return shortToken != 0; });
}

// Pieces between spaces; runs of spaces make no empty words.
std::size_t wordCount(std::string_view phrase) {
    std::size_t count = 0;
    bool inWord = false;
    for (const char c : phrase) {
        if (c != ' ' && !inWord)
            ++count;
        inWord = c != ' ';
    }
    return count;
}

// Heavier first: more words seen more often; equal weights by the key, descending.
bool candidateOrder(const std::pair<std::string, Phrase>& a, const std::pair<std::string, Phrase>& b) {
    const std::size_t weightA = wordCount(a.first) * static_cast<std::size_t>(a.second.count);
    const std::size_t weightB = wordCount(b.first) * static_cast<std::size_t>(b.second.count);
    if (weightA != weightB)
        return weightA > weightB;
    return a.first > b.first;
}

void countPhrases(std::string_view text, const CompiledRegex& placeholders, Phrases& phrases) {
    // Every placeholder begins with "%"; most texts have none, and need no pass of the pattern.
    const std::string plain = placeholders && text.find('%') != std::string_view::npos
                                  ? regex::replaceAll(*placeholders, text, " ")
                                  : std::string(text);
    const std::vector<std::string> found = tokens(plain);
    // Each token takes part in up to three runs; it is lower-cased and measured once.
    std::vector<std::string> lowered;
    // Flags as chars, so that a run of them can be viewed in place.
    std::vector<char> oneLetter;
    lowered.reserve(found.size());
    oneLetter.reserve(found.size());
    for (const std::string& token : found) {
        lowered.push_back(text::lowercased(token));
        oneLetter.push_back(hasFewerCharacters(token, 2) ? 1 : 0);
    }
    std::unordered_set<std::string> counted;
    for (std::size_t length = 1; length <= longestPhrase; ++length) {
        for (std::size_t start = 0; start + length <= found.size(); ++start) {
            if (!isPhrase(std::span(lowered).subspan(start, length),
                          std::span(oneLetter).subspan(start, length)))
                continue;
            std::string phrase = found[start];
            for (std::size_t next = start + 1; next < start + length; ++next)
                phrase.append(" ").append(found[next]);
            std::string key = text::lowercased(phrase);
            if (hasFewerCharacters(key, 3))
                continue;
            auto entry = phrases.find(key);
            if (entry == phrases.end())
                entry = phrases.emplace(key, Phrase{0, std::move(phrase)}).first;
            else if (startsWithLowercase(phrase))
                entry->second.display = std::move(phrase);
            if (counted.insert(std::move(key)).second)
                ++entry->second.count;
        }
    }
}

// Takes the phrases of later strings into those of the strings before them: the counts add up, and a
// phrase is written as its last lower-case occurrence, or else as its first, as one pass over all the
// strings would have it.
void addLater(Phrases& phrases, Phrases&& later) {
    for (auto& [key, phrase] : later) {
        const auto [entry, added] = phrases.try_emplace(key, std::move(phrase));
        if (added)
            continue;
        entry->second.count += phrase.count;
        if (startsWithLowercase(phrase.display))
            entry->second.display = std::move(phrase.display);
    }
}

// The phrases of the translatable strings. Tens of thousands of strings are counted in runs of neighbours
// on a few threads at once, while the key terms hold up the first request of a run.
Phrases countedPhrases(const std::vector<SourceString>& strings) {
    constexpr std::size_t stringsPerRun = 5000;
    constexpr std::size_t mostRuns = 4;
    const std::size_t runs = std::clamp<std::size_t>(strings.size() / stringsPerRun, 1, mostRuns);
    const CompiledRegex placeholders = RegexCache::regex(placeholderPattern);
    const auto countRun = [&](std::size_t run, std::size_t runCount, Phrases& phrases) {
        const auto at = [&](std::size_t end) {
            return strings.begin() + static_cast<std::ptrdiff_t>(strings.size() * end / runCount);
        };
        for (auto string = at(run); string != at(run + 1); ++string)
            if (string->translate)
                countPhrases(string->text, placeholders, phrases);
    };
    std::vector<Phrases> counted(runs);
    try {
        TaskGroup::run(runs, static_cast<int>(runs),
                       [&](std::size_t run, std::stop_token) { countRun(run, runs, counted[run]); });
    } catch (const std::system_error&) {
        // No thread to be had: one pass on this thread.
        counted.assign(1, Phrases());
        countRun(0, 1, counted.front());
    }
    for (std::size_t run = 1; run < counted.size(); ++run)
        addLater(counted.front(), std::move(counted[run]));
    return std::move(counted.front());
}

} // namespace

std::vector<std::string> candidates(const std::vector<SourceString>& strings,
                                    const std::vector<AppManifest::Term>& glossary, std::size_t limit) {
    Phrases phrases = countedPhrases(strings);

    WordSet excluded;
    for (const auto& entry : glossary)
        excluded.insert(text::lowercased(entry.term));
    std::vector<std::pair<std::string, Phrase>> kept;
    for (auto& [key, phrase] : phrases)
        if (isCandidate(key, phrase.count, excluded))
            kept.emplace_back(key, std::move(phrase));
    std::sort(kept.begin(), kept.end(), candidateOrder);

    std::vector<std::string> chosen;
    for (auto& [key, phrase] : kept) {
        if (chosen.size() == limit)
            break;
        chosen.push_back(std::move(phrase.display));
    }
    return chosen;
}

bool isCandidate(std::string_view phrase, int count, const WordSet& excluding) {
    if (excluding.contains(phrase))
        return false;
    return count >= (wordCount(phrase) == 1 ? 4 : 3);
}

} // namespace orvel::Terms
