#pragma once
// Names from outside (bundle identifiers, language codes) name files and folders of a target app's
// data folder; one that is not a single plain path component is refused before anything is read or
// written.

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvel {

class UnsafeNameError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The name with NUL shown as "\0", for messages.
inline std::string shownName(std::string_view name) {
    std::string shown;
    for (char c : name)
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    return shown;
}

} // namespace orvel
