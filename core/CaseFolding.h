#pragma once
// Caseless comparison of texts, as a person typing a name expects it.

#include <string_view>

namespace orvel::text {

// True when the texts are the same after full Unicode case folding (locale-independent) of their
// canonical forms: "STRASSE" matches "straße", "foo bar" matches "Foo Bar".
bool equalIgnoringCase(std::string_view a, std::string_view b);

// True when the case-folded canonical form of `text` contains that of `part`; false for an empty part,
// which names nothing to look for.
bool containsIgnoringCase(std::string_view text, std::string_view part);

} // namespace orvel::text
