#pragma once
// The start of a long text, for log lines and error descriptions that must stay readable.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvel::text {

// The first `count` user-perceived characters of `text`, or the whole text when it is not longer.
std::string firstCharacters(std::string_view text, std::size_t count);

} // namespace orvel::text
