#pragma once
// Language codes come from the person and from deep links, and each one names files and folders in a
// target app's data folder. A code that is not one plain path component is refused before any file is
// read or written.

#include <stdexcept>
#include <string_view>

namespace orvel {

class UnsafeNameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws UnsafeNameError for "", ".", "..", or a code holding "/" or NUL.
void requireSafeLanguageCode(std::string_view code);

} // namespace orvel
