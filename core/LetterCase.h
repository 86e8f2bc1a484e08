#pragma once
// Case tests of single user-perceived characters (as returned by graphemes()); the first scalar decides.

#include <string_view>

namespace orvel::text {

// A letter with the Uppercase property: "É" and "Σ" are, "1" and "-" are not.
bool isUppercaseLetter(std::string_view character);

// A letter with the Lowercase property.
bool isLowercaseLetter(std::string_view character);

} // namespace orvel::text
