#pragma once
// Pseudo-localisation: an English text made visibly foreign and longer, with its placeholders intact,
// so that a developer sees which texts pass through translation and where layouts cut text off.

#include <map>
#include <string>
#include <string_view>

namespace orvel::Pseudo {

// Letter to its accented look-alike; every other character stays itself.
const std::map<std::string, std::string>& accents();

// The text accented between its format specifiers, lengthened by a run of middle dots (three for
// every ten letters, at least one) and bracketed by ⟦ and ⟧.
std::string localize(std::string_view text);

// One run of text without format specifiers; "%%" and template variables such as "${name}" are kept.
std::string accent(std::string_view run);

} // namespace orvel::Pseudo
