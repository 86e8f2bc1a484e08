#pragma once
// The order in which a workspace lists an app's strings: by their English as a person reads it, with
// placeholders and leading punctuation left out, and strings without any letter last.

#include <string>
#include <vector>

#include "core/SourceString.h"

namespace orvel::DisplayOrder {

// The English text with every printf-style placeholder replaced by a space, from its first letter on;
// empty when no letter is left.
std::string sortKey(const SourceString& string);

// The strings sorted stably: non-empty keys first, in the Finder-like order of their keys; equal keys,
// and the strings with empty keys, in the order they came.
std::vector<SourceString> sorted(std::vector<SourceString> strings);

} // namespace orvel::DisplayOrder
