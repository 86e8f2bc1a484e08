#pragma once
// Backslash escapes of resource and catalogue texts.

#include <map>
#include <string>
#include <string_view>

namespace orvel::SoftwareFormats {

// Escaped character to the character it stands for; characters not listed stand for themselves.
using EscapeTable = std::map<char32_t, char32_t>;

// "n" gives a line feed and "t" a tab.
const EscapeTable& escapeTable();

// Resolves backslash escapes through `table`; a final lone backslash is dropped.
std::string unescaped(std::string_view text, const EscapeTable& table);

// Like `unescaped` with the escape table, and "\u" with four hexadecimal digits gives that scalar (a high
// and a low surrogate written one after the other give their pair). A "\u" that does not introduce a
// scalar gives the letter "u".
std::string androidUnescaped(std::string_view text);

} // namespace orvel::SoftwareFormats
