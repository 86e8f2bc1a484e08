#pragma once
// Clean-up of model answers and language codes before they are used.

#include <string>
#include <string_view>
#include <vector>

namespace orvel::Normalizer {

// The non-empty parts of a language code, split at every "-" and "_"; a code made only of separators
// has none.
std::vector<std::string> codeParts(std::string_view code);

} // namespace orvel::Normalizer
