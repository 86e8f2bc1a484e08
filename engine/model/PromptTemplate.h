#pragma once
// Fixed message texts with markers such as [[L]] standing for inserted values.

#include <map>
#include <string>
#include <string_view>

namespace orvel::Prompt {

// `text` with every "[[NAME]]" whose name is in `values` replaced by its value. Inserted values are
// not searched again, so a value that itself holds "[[...]]" stays as it is.
std::string filled(std::string_view text, const std::map<std::string_view, std::string>& values);

} // namespace orvel::Prompt
