#pragma once
// Trimming of white space and line breaks (the Unicode White_Space property) at both ends of a text.

#include <string_view>

namespace orvel::text {

// A view into `text` without its leading and trailing white space and newlines.
std::string_view trimmed(std::string_view text);

} // namespace orvel::text
