#pragma once
// Trimming and joining of text pieces, as the composed texts (messages, summaries) need them.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::text {

// A view into `text` without the white space and line breaks (Unicode White_Space) at both ends.
std::string_view trimmed(std::string_view text);

// The pieces in order with `separator` between each two.
std::string joined(const std::vector<std::string>& pieces, std::string_view separator);

} // namespace orvel::text
