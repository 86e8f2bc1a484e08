#pragma once
// Measuring the typography and capitalisation of one reference program's translators from its pairs.

#include <vector>

#include "engine/reference/SoftwareReference.h"
#include "engine/reference/StyleStats.h"

namespace orvel {

// The style of one program's pairs (only their English, translation and key are read). Pure and
// independent of the order the pairs come in.
StyleStats measureStyle(const std::vector<SoftwareReference::Pair>& pairs);

} // namespace orvel
