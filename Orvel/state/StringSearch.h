#pragma once
// The search field of the string list: what the person typed meets the texts of a string regardless
// of case, diacritics and character width, with no locale involved.

#include <optional>
#include <string>
#include <string_view>

namespace orvel::StringSearch {

// What to look for: the search text without its spaces and tabs at both ends (line breaks stay),
// folded; nothing when that leaves an empty text, which lets every string through.
std::optional<std::string> needle(std::string_view search);

// The form of a text the needle is looked for in.
std::string folded(std::string_view text);

} // namespace orvel::StringSearch
