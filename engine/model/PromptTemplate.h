#pragma once
// Fixed message texts with markers such as [[L]] standing for inserted values.

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace orvel::Prompt {

// `text` with every "[[NAME]]" whose name is in `values` replaced by its value. Inserted values are
// not searched again, so a value that itself holds "[[...]]" stays as it is.
std::string filled(std::string_view text, const std::map<std::string_view, std::string>& values);

// For a rule that only some requests carry: empty when absent, else a line break and the rule's line.
std::string optionalLine(bool present, const std::function<std::string()>& line);

} // namespace orvel::Prompt
