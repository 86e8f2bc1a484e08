#pragma once
// Invisible id markers: numbers that the companion writes into displayed strings with characters that
// render as nothing (a word joiner, base-240 digits as variation selectors, a word joiner).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::Markers {

struct Stripped {
    std::string text;
    // The numbers of the markers found, in the order in which they stood.
    std::vector<std::int64_t> ids;
};

// The marker for a non-negative number; a negative number has no marker and gives the empty text.
std::string encode(std::int64_t number);

// Removes every well-formed marker. Malformed or unclosed runs, and runs whose number does not fit
// 64 bits, stay in the text as they were found.
Stripped strip(std::string_view text);

// Only the text of strip().
std::string clean(std::string_view text);

} // namespace orvel::Markers
