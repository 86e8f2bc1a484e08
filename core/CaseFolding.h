#pragma once
// Caseless comparison of texts, as a person typing a name expects it.

#include <string_view>

namespace orvel::text {

// True when the texts are the same after full Unicode case folding (locale-independent) of their
// canonical forms: "STRASSE" matches "straße", "foo bar" matches "Foo Bar".
bool equalIgnoringCase(std::string_view a, std::string_view b);

} // namespace orvel::text
