#pragma once
// Cutting text into pieces at separator characters (user-perceived characters, so a space that carries
// a combining mark does not separate).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::text {

// The pieces between the characters for which `isSeparator` holds, in order; empty pieces are kept, so
// there is always one more piece than separators.
std::vector<std::string> splitAt(std::string_view text,
                                 const std::function<bool(std::string_view)>& isSeparator);

// The longest runs of characters for which `isPart` holds, in order (never empty).
std::vector<std::string> runsOf(std::string_view text, const std::function<bool(std::string_view)>& isPart);

// The pieces between spaces (U+0020), empty ones dropped.
std::vector<std::string> wordsBetweenSpaces(std::string_view text);

} // namespace orvel::text
