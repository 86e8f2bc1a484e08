#pragma once
// Turning arbitrary text into a pattern that matches exactly that text.

#include <string>
#include <string_view>

namespace orvel::regex {

// The text with every ASCII character that has a meaning in a pattern preceded by a backslash, so that
// the result, compiled as a pattern, matches the text literally.
std::string escapedPattern(std::string_view text);

} // namespace orvel::regex
