#pragma once
// Reading a wait time that an endpoint asked for.

#include <optional>
#include <string_view>

namespace orvel {

// The number of seconds written as a plain decimal number; nothing for any other text, and nothing for a
// value that could not be waited for (not a number, infinite or negative).
std::optional<double> parseDelaySeconds(std::string_view text);

} // namespace orvel
