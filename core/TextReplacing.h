#pragma once
// Literal (not pattern) replacement inside UTF-8 text.

#include <string>
#include <string_view>

namespace orvel::text {

// Every occurrence of `target`, found left to right without overlaps, replaced by `replacement`.
// An empty target leaves the text as it is.
std::string replacingAll(std::string_view text, std::string_view target, std::string_view replacement);

} // namespace orvel::text
