#pragma once
// Line and white-space handling shared by the line-oriented translation file readers.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::SoftwareFormats {

// The lines of a text: "\r\n" counts as "\n"; a lone carriage return stays in its line.
std::vector<std::string> lines(std::string_view text);

// The tab and every Unicode space separator; line breaks are not horizontal white space.
bool isHorizontalWhitespace(char32_t scalar);

// Without horizontal white space at both ends.
std::string_view trimmedHorizontally(std::string_view text);

// Without the spaces and tabs (exactly those two characters) at the start.
std::string_view droppingLeadingSpacesAndTabs(std::string_view text);

} // namespace orvel::SoftwareFormats
