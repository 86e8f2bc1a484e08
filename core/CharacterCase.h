#pragma once
// The case of one user-perceived character (as returned by graphemes()): a single scalar goes by its
// Unicode property; a longer character is upper (lower) case when it has case at all and does not change
// under upper-casing (lower-casing).

#include <string_view>

namespace orvel::text {

bool isUppercaseCharacter(std::string_view character);
bool isLowercaseCharacter(std::string_view character);

} // namespace orvel::text
