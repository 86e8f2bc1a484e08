// The hint lines that tell the model how macOS words the phrases of a source text, and their reading
// back into (English, wording) pairs for the checks.

#include <algorithm>
#include <set>

#include "core/CharacterCase.h"
#include "core/Regex.h"
#include "core/RegexCache.h"
#include "core/ScalarTrimming.h"
#include "core/TextPieces.h"
#include "core/TextSplitting.h"
#include "core/Unicode.h"
#include "engine/pipeline/Terms.h"
#include "engine/reference/AppleReference.h"

namespace orvel {
namespace {

constexpr std::string_view linePrefix = "macOS calls \"";
constexpr std::string_view openingGuillemet = "«";
constexpr std::string_view closingGuillemet = "»";
// A text that names the system's own places trusts wordings that only a few of its files use.
constexpr std::string_view systemMention = "System Settings|System Preferences|macOS|Privacy|Finder|▸";
constexpr std::int64_t systemThreshold = 2;
constexpr std::int64_t plainThreshold = 50;
constexpr std::size_t longestPhrase = 4;
constexpr std::size_t longestMenuPart = 4;

bool isEdgeMark(char32_t scalar) {
    switch (scalar) {
    case U'.':
    case U',':
    case U':':
    case U';':
    case U'!':
    case U'?':
    case U'"':
    case U'\u201C':
    case U'\u201D':
        return true;
    default:
        return false;
    }
}

std::string_view firstCharacter(std::string_view text) {
    const auto characters = text::graphemes(text);
    return characters.empty() ? std::string_view() : characters.front();
}

bool isConjunction(std::string_view word) {
    return word == "&" || word == "and";
}

std::string hintLine(std::string_view phrase, std::string_view wording) {
    std::string line(linePrefix);
    line.append(phrase).append("\" ").append(openingGuillemet).append(wording).append(closingGuillemet);
    return line;
}

// The most used wording that says something: a blank one, as older caches may hold, would become a
// «» hint that no translation can satisfy.
const AppleReference::Entry* leadingWording(std::span<const AppleReference::Entry> entries) {
    const auto found = std::find_if(entries.begin(), entries.end(), [](const AppleReference::Entry& entry) {
        return !text::trimmed(entry.text).empty();
    });
    return found == entries.end() ? nullptr : &*found;
}

class HintCollector {
  public:
    HintCollector(const AppleReference& reference) : m_reference(reference) {}

    // Adds the line of `phrase` when its leading wording counts at least `threshold` and it was not
    // hinted yet.
    bool offer(std::string_view phrase, std::int64_t threshold) {
        const AppleReference::Entry* leading = leadingWording(m_reference.entries(phrase));
        if (!leading || leading->count < threshold)
            return false;
        if (!m_seen.insert(AppleReference::americanized(phrase)).second)
            return false;
        m_lines.push_back(hintLine(phrase, leading->text));
        return true;
    }

    std::vector<std::string> lines() && { return std::move(m_lines); }

  private:
    const AppleReference& m_reference;
    std::set<std::string, std::less<>> m_seen;
    std::vector<std::string> m_lines;
};

// Two to four capitalised words ("&" and "and" may join them), longest first, never a command.
bool mayBePhrase(const std::vector<std::string>& words) {
    if (isConjunction(words.front()) || isConjunction(words.back()))
        return false;
    if (Terms::commandVerbs().contains(text::lowercased(words.front())))
        return false;
    return std::all_of(words.begin(), words.end(), [](const std::string& word) {
        return isConjunction(word) || text::isUppercaseCharacter(firstCharacter(word));
    });
}

void findPhrases(std::string_view source, std::int64_t threshold, HintCollector& collector) {
    auto words = text::splitAt(source, [](std::string_view character) {
        return character == " " || character == "▸" || character == ">" || character == "," ||
               character == "(" || character == ")";
    });
    std::erase_if(words, [](const std::string& word) { return word.empty(); });
    std::size_t i = 0;
    while (i < words.size()) {
        std::size_t taken = 1;
        for (std::size_t n = std::min(longestPhrase, words.size() - i); n >= 2; --n) {
            const std::vector<std::string> candidate(words.begin() + static_cast<std::ptrdiff_t>(i),
                                                     words.begin() + static_cast<std::ptrdiff_t>(i + n));
            if (!mayBePhrase(candidate))
                continue;
            const std::string joined = text::joined(candidate, " ");
            if (collector.offer(text::trimmedScalars(joined, isEdgeMark), threshold)) {
                taken = n;
                break;
            }
        }
        i += taken;
    }
}

void findMenuParts(std::string_view source, HintCollector& collector) {
    const auto parts = text::splitAt(
        source, [](std::string_view character) { return character == "▸" || character == ">"; });
    for (std::size_t index = 1; index < parts.size(); ++index) {
        const std::string_view part = text::trimmedScalars(parts[index], [](char32_t scalar) {
            return text::isInlineWhitespace(scalar) || isEdgeMark(scalar);
        });
        if (part.empty() || !text::isUppercaseCharacter(firstCharacter(part)))
            continue;
        if (text::wordsBetweenSpaces(part).size() > longestMenuPart)
            continue;
        collector.offer(part, systemThreshold);
    }
}

} // namespace

std::vector<std::string> AppleReference::hints(std::string_view text) const {
    const CompiledRegex mention = RegexCache::regex(systemMention);
    const std::int64_t threshold =
        mention && regex::contains(*mention, text) ? systemThreshold : plainThreshold;
    HintCollector collector(*this);
    findPhrases(text, threshold, collector);
    findMenuParts(text, collector);
    return std::move(collector).lines();
}

std::vector<AppleReference::Pair> AppleReference::pairs(std::string_view text) const {
    std::vector<Pair> found;
    for (const std::string& line : hints(text)) {
        if (!line.starts_with(linePrefix))
            continue;
        const std::size_t englishEnd = line.find('"', linePrefix.size());
        const std::size_t open = line.find(openingGuillemet);
        const std::size_t close = line.rfind(closingGuillemet);
        if (englishEnd == std::string::npos || open == std::string::npos || close == std::string::npos)
            continue;
        // A line whose last "»" stands before its first "«" carries no wording.
        const std::size_t wordingStart = open + openingGuillemet.size();
        if (close < wordingStart)
            continue;
        found.emplace_back(line.substr(linePrefix.size(), englishEnd - linePrefix.size()),
                           line.substr(wordingStart, close - wordingStart));
    }
    return found;
}

} // namespace orvel
