#pragma once
// Line and white-space handling shared by the line-oriented translation file readers.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::SoftwareFormats {

// The lines of a text: "\r\n" counts as "\n"; a lone carriage return stays in its line.
std::vector<std::string> lines(std::string_view text);

// Without the tab and Unicode space separators at both ends (line breaks are kept).
std::string_view trimmedHorizontally(std::string_view text);

// Without the spaces and tabs (exactly those two characters) at the start.
std::string_view droppingLeadingSpacesAndTabs(std::string_view text);

} // namespace orvel::SoftwareFormats
