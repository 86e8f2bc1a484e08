#pragma once
// The text form of ".strings" files: "key" = "value"; pairs with C-style escapes, optionally inside
// braces, with comments and unquoted tokens, in UTF-8 or in UTF-16 or UTF-8 with a byte-order mark.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvel::StringsFileParser {

// The pairs of the file (a later pair wins over an earlier one with the same key); nothing when the
// bytes are not a strings file or hold a value that is not a text (a dictionary, an array or data).
std::optional<std::map<std::string, std::string>> parse(std::string_view bytes);

} // namespace orvel::StringsFileParser
