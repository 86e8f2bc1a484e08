#pragma once
// Tests of single user-perceived characters (as returned by graphemes()) that Unicode.h does not offer.
// As with isLetter(), the first scalar of a character decides.

#include <string_view>

namespace orvel::text {

// General category P (connector, dash, open, close, initial, final or other punctuation).
bool isPunctuation(std::string_view character);

// General category N: decimal digits, letter numbers and other numbers such as "½".
bool isDigit(std::string_view character);

// The last user-perceived character of the text; empty for the empty text.
std::string_view lastCharacter(std::string_view text);

} // namespace orvel::text
