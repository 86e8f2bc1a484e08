#pragma once
// Base64 bodies, as a repository web view sends file contents.

#include <optional>
#include <string>
#include <string_view>

namespace orvel::Base64 {

// The bytes of `text`, ignoring every character outside the base64 alphabet (line breaks, spaces).
// Nothing when what is left is no whole base64 text: a length that is not a multiple of four, or "="
// anywhere but in the last two places.
std::optional<std::string> decoded(std::string_view text);

} // namespace orvel::Base64
