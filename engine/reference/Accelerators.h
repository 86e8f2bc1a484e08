#pragma once
// Removal of the keyboard accelerator marks that menu texts carry, so that texts of different programs
// compare as the words a person reads.

#include <string>
#include <string_view>

namespace orvel::SoftwareFormats {

// Ampersand marks: "&File" gives "File", "&&" gives "&", a parenthesised mark such as "(&F)" goes with
// the white space before it; an ampersand before white space or ";" stays.
std::string strippingAmpersands(std::string_view text);

// Parenthesised marks, tildes before a visible character and single underscores before a letter or digit.
std::string strippingAccelerators(std::string_view text);

} // namespace orvel::SoftwareFormats
