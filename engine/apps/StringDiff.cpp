#include "engine/apps/StringDiff.h"

#include <algorithm>
#include <numeric>

#include "core/Unicode.h"

namespace orvel::StringDiff {
namespace {

// Lowercased and composed, so that canonically equivalent characters compare equal byte for byte.
std::string comparable(std::string_view text) {
    return text::nfc(text::lowercased(text));
}

bool isWordCharacter(std::string_view character) {
    if (text::isLetter(character))
        return true;
    std::size_t offset = 0;
    char32_t first = 0;
    return text::nextScalar(character, offset, first) && text::isNumber(first);
}

std::vector<std::string> wordsOfComparable(std::string_view lowered) {
    std::vector<std::string> out;
    std::string current;
    for (std::string_view character : text::graphemes(lowered)) {
        if (isWordCharacter(character)) {
            current += character;
        } else if (!current.empty()) {
            out.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty())
        out.push_back(std::move(current));
    return out;
}

bool decidedByCharacters(const Prepared& a, const Prepared& b) {
    return a.sortedWords.size() < 3 && b.sortedWords.size() < 3;
}

double characterScore(std::size_t distance, std::size_t lengthA, std::size_t lengthB) {
    const std::size_t longest = std::max(lengthA, lengthB);
    if (longest == 0)
        return 1.0;
    return 1.0 - static_cast<double>(distance) / static_cast<double>(longest);
}

double diceScore(std::size_t shared, std::size_t countA, std::size_t countB) {
    return 2.0 * static_cast<double>(shared) / static_cast<double>(countA + countB);
}

// The size of the multiset intersection of two sorted word lists.
std::size_t sharedWords(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::size_t shared = 0;
    auto left = a.begin(), right = b.begin();
    while (left != a.end() && right != b.end()) {
        if (*left < *right) {
            ++left;
        } else if (*right < *left) {
            ++right;
        } else {
            ++shared;
            ++left;
            ++right;
        }
    }
    return shared;
}

} // namespace

std::vector<std::string> words(std::string_view text) {
    return wordsOfComparable(comparable(text));
}

std::size_t levenshtein(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    // One row of the distance table at a time.
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

Prepared prepare(std::string_view text) {
    const std::string lowered = comparable(text);
    Prepared prepared;
    prepared.sortedWords = wordsOfComparable(lowered);
    std::sort(prepared.sortedWords.begin(), prepared.sortedWords.end());
    if (prepared.sortedWords.size() < 3)
        for (std::string_view character : text::graphemes(lowered))
            prepared.characters.emplace_back(character);
    return prepared;
}

double similarity(std::string_view a, std::string_view b) {
    return similarity(prepare(a), prepare(b));
}

double similarity(const Prepared& a, const Prepared& b) {
    if (decidedByCharacters(a, b))
        return characterScore(levenshtein(a.characters, b.characters), a.characters.size(),
                              b.characters.size());
    return diceScore(sharedWords(a.sortedWords, b.sortedWords), a.sortedWords.size(), b.sortedWords.size());
}

double similarityCeiling(const Prepared& a, const Prepared& b) {
    if (decidedByCharacters(a, b)) {
        const std::size_t lengthA = a.characters.size(), lengthB = b.characters.size();
        // The edit distance is at least the difference of the lengths.
        return characterScore(std::max(lengthA, lengthB) - std::min(lengthA, lengthB), lengthA, lengthB);
    }
    return diceScore(std::min(a.sortedWords.size(), b.sortedWords.size()), a.sortedWords.size(),
                     b.sortedWords.size());
}

} // namespace orvel::StringDiff
