#pragma once
// How alike two English texts are, so that a reworded string can be paired with its old translation.
// Pure functions; safe on any thread.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::StringDiff {

// The lowercased text cut into maximal runs of letters and numbers; everything else only separates.
std::vector<std::string> words(std::string_view text);

// Insertions, deletions and substitutions, one each, that turn `a` into `b`.
std::size_t levenshtein(const std::vector<std::string>& a, const std::vector<std::string>& b);

// What the similarity of a text needs, worked out once so that one text can be compared with many.
struct Prepared {
    std::vector<std::string> sortedWords;
    // Lowercased user-perceived characters; filled only for texts of fewer than 3 words, the only ones
    // whose similarity is decided by characters.
    std::vector<std::string> characters;
};
Prepared prepare(std::string_view text);

// From 0 to 1, 1 for equal texts: texts of fewer than 3 words each compare by character edit
// distance, any longer one by the Dice coefficient of the two word multisets.
double similarity(std::string_view a, std::string_view b);
double similarity(const Prepared& a, const Prepared& b);

// Never below `similarity(a, b)` and cheap: the lengths alone bound the score, so pairs that cannot
// reach a threshold are skipped without an edit distance.
double similarityCeiling(const Prepared& a, const Prepared& b);

} // namespace orvel::StringDiff
