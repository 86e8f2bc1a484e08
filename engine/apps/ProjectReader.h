#pragma once
// The quick reading of a project file. The project of a large app runs to megabytes, read at every
// start and whenever another program changed it; it is decoded straight from a SIMD parser's document.
// The reading accepts a subset of what TranslationProject::fromJson accepts and gives the same project
// for it; anything else it leaves to the strict decoding.

#include <optional>
#include <string_view>

#include "engine/apps/TranslationProject.h"

namespace orvel::ProjectReader {

// The decoded project, or nothing when the quick reading does not take the text.
std::optional<TranslationProject> quickDecode(std::string_view text);

} // namespace orvel::ProjectReader
