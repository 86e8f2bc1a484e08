#pragma once
// Language codes come from the person and from deep links, and each one names files and folders in a
// target app's data folder. A code that is not one plain path component is refused before any file is
// read or written.

#include <string_view>

#include "core/UnsafeNameError.h"

namespace orvel {

// Throws UnsafeNameError for "", ".", "..", or a code holding "/" or NUL.
void requireSafeLanguageCode(std::string_view code);

} // namespace orvel
