#pragma once
// Matching compiled expressions against UTF-8 text. Offsets are byte offsets into the UTF-8 text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/RegexCache.h"

namespace orvel::regex {

struct Range {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t length() const { return end - start; }
    bool operator==(const Range&) const = default;
};

struct Match {
    Range range;
    // Group 1 onwards; a group that took no part in the match is absent.
    std::vector<std::optional<Range>> groups;

    std::string_view text(std::string_view subject) const {
        return subject.substr(range.start, range.length());
    }
    std::optional<std::string_view> group(std::string_view subject, std::size_t number) const;
};

// The first match at or after `from`.
std::optional<Match> firstMatch(const icu::RegexPattern& pattern, std::string_view text,
                                std::size_t from = 0);

// Every non-overlapping match, left to right.
std::vector<Match> allMatches(const icu::RegexPattern& pattern, std::string_view text);

// A match that starts exactly at `at` (a prefix match of the text from there); lookbehind sees the text
// before.
std::optional<Match> matchAt(const icu::RegexPattern& pattern, std::string_view text, std::size_t at);

// Whether any part of the text matches.
bool contains(const icu::RegexPattern& pattern, std::string_view text);

// Replaces every match by `replacement`, in which "$1" names a group and "\$" a dollar sign.
std::string replaceAll(const icu::RegexPattern& pattern, std::string_view text, std::string_view replacement);

} // namespace orvel::regex
