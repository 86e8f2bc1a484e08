// The table of a software reference: every English text of the six programs, folded, with the few
// translations they chose for it and how often each program used each one.

#include <algorithm>
#include <array>
#include <unordered_map>

#include "core/Characters.h"
#include "core/TextPieces.h"
#include "core/Unicode.h"
#include "engine/reference/AppleReference.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {
namespace {

constexpr std::size_t maxEnglishCharacters = 80;
constexpr int unknownRank = 9;

// One translation of one English text while the pairs are counted.
struct Found {
    // The exact cleaned spelling to its uses.
    std::unordered_map<std::string, std::int64_t> spellings;
    // Uses by program rank.
    std::array<std::int64_t, SoftwareReference::allSources.size()> counts{};
};

bool isTrailingScalar(char32_t scalar) {
    return scalar == U'…' || scalar == U'.' || scalar == U':' || text::isWhitespace(scalar);
}

char32_t lastScalar(std::string_view text) {
    std::size_t start = text.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        --start;
    char32_t scalar = 0;
    text::nextScalar(text, start, scalar);
    return scalar;
}

// "…", "." or ":" alone, or a white-space character.
bool isTrailingMark(std::string_view character) {
    if (character == "…" || character == "." || character == ":")
        return true;
    std::size_t offset = 0;
    char32_t first = 0;
    return text::nextScalar(character, offset, first) && text::isWhitespace(first);
}

// The text of the cedilla letter a Romanian text wrote for the comma-below letter, or nothing.
std::optional<std::string_view> commaBelowLetter(std::string_view character) {
    static const std::array<std::pair<std::string_view, std::string_view>, 4> letters{
        {{"ş", "ș"}, {"ţ", "ț"}, {"Ş", "Ș"}, {"Ţ", "Ț"}}};
    const std::string composed = text::nfc(character);
    for (const auto& [cedilla, commaBelow] : letters)
        if (composed == cedilla)
            return commaBelow;
    return std::nullopt;
}

std::string withCommaBelowLetters(std::string_view text) {
    // Only texts holding a precomposed cedilla letter or a combining cedilla can change.
    constexpr std::array<std::string_view, 5> traces{"\xC5\x9E", "\xC5\x9F", "\xC5\xA2", "\xC5\xA3",
                                                     "\xCC\xA7"};
    if (std::none_of(traces.begin(), traces.end(),
                     [&](std::string_view trace) { return text.find(trace) != text.npos; }))
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (const std::string_view character : text::graphemes(text)) {
        const auto replacement = commaBelowLetter(character);
        out += replacement ? *replacement : character;
    }
    return out;
}

bool isShortEnough(std::string_view english) {
    return english.size() <= maxEnglishCharacters || text::graphemeCount(english) <= maxEnglishCharacters;
}

// The spelling used most; among equals the first in the standard order of texts.
std::string chosenSpelling(const Found& found) {
    const std::pair<const std::string, std::int64_t>* best = nullptr;
    for (const auto& spelling : found.spellings) {
        if (!best || spelling.second > best->second ||
            (spelling.second == best->second && text::nfc(spelling.first) < text::nfc(best->first)))
            best = &spelling;
    }
    return best ? best->first : std::string();
}

int bestRank(const SoftwareReference::Entry& entry,
             const std::map<std::string, int, std::less<>>& sourceOrder) {
    int best = unknownRank;
    for (const auto& [source, count] : entry.counts)
        if (const auto rank = sourceOrder.find(source); rank != sourceOrder.end())
            best = std::min(best, rank->second);
    return best;
}

} // namespace

bool SoftwareReference::Entry::precedes(const Entry& a, const Entry& b,
                                        const std::map<std::string, int, std::less<>>& sourceOrder) {
    if (a.counts.size() != b.counts.size())
        return a.counts.size() > b.counts.size();
    if (const auto totalA = a.total(), totalB = b.total(); totalA != totalB)
        return totalA > totalB;
    if (const int rankA = bestRank(a, sourceOrder), rankB = bestRank(b, sourceOrder); rankA != rankB)
        return rankA < rankB;
    return text::nfc(a.text) < text::nfc(b.text);
}

std::string SoftwareReference::cleanTranslation(std::string_view translation, std::string_view language) {
    std::string_view cleaned = text::trimmed(translation);
    // Only a last scalar that is one of the marks can end a character that is one; the characters
    // themselves are looked at only then.
    while (!cleaned.empty() && isTrailingScalar(lastScalar(cleaned))) {
        const std::string_view character = text::lastCharacter(cleaned);
        if (!isTrailingMark(character))
            break;
        cleaned.remove_suffix(character.size());
    }
    return language.starts_with("ro") ? withCommaBelowLetters(cleaned) : std::string(cleaned);
}

const std::map<std::string, int, std::less<>>& SoftwareReference::sourceRanks() {
    static const auto ranks = [] {
        std::map<std::string, int, std::less<>> byName;
        for (std::size_t rank = 0; rank < allSources.size(); ++rank)
            byName.emplace(std::string(rawValue(allSources[rank])), static_cast<int>(rank));
        return byName;
    }();
    return ranks;
}

SoftwareReference::Table SoftwareReference::tableFrom(const Pairs& pairs, std::string_view language) {
    std::unordered_map<std::string, std::unordered_map<std::string, Found>> working;
    // The same English comes from many files and programs; it is folded once.
    std::unordered_map<std::string_view, std::string> folded;
    for (const Pair& pair : pairs) {
        if (pair.english.find('\n') != std::string::npos || !isShortEnough(pair.english))
            continue;
        auto fold = folded.find(pair.english);
        if (fold == folded.end())
            fold = folded.emplace(pair.english, AppleReference::americanized(pair.english)).first;
        const std::string& english = fold->second;
        std::string translation = cleanTranslation(pair.translation, language);
        if (english.empty() || translation.empty() || translation.find('\n') != std::string::npos)
            continue;
        Found& found = working[english][text::lowercased(translation)];
        ++found.spellings[std::move(translation)];
        ++found.counts[static_cast<std::size_t>(pair.source)];
    }

    const auto& sourceOrder = sourceRanks();
    Table table;
    for (auto& [english, translations] : working) {
        std::vector<Entry> entries;
        entries.reserve(translations.size());
        for (const auto& [lowercased, found] : translations) {
            Entry entry{chosenSpelling(found), {}};
            for (std::size_t rank = 0; rank < found.counts.size(); ++rank)
                if (found.counts[rank] > 0)
                    entry.counts.emplace(std::string(rawValue(allSources[rank])), found.counts[rank]);
            entries.push_back(std::move(entry));
        }
        std::sort(entries.begin(), entries.end(),
                  [&](const Entry& a, const Entry& b) { return Entry::precedes(a, b, sourceOrder); });
        if (entries.size() > maxEntries)
            entries.resize(maxEntries);
        table.emplace(english, std::move(entries));
    }
    return table;
}

} // namespace orvel
