#pragma once
// Trimming by a set of scalars, for texts whose ends carry punctuation as well as spaces.

#include <functional>
#include <string_view>

namespace orvel::text {

// A view into `text` without the scalars at both ends for which `isTrimmed` holds.
std::string_view trimmedScalars(std::string_view text, const std::function<bool(char32_t)>& isTrimmed);

// White space that does not break a line: space separators and the tab.
bool isInlineWhitespace(char32_t scalar);

} // namespace orvel::text
