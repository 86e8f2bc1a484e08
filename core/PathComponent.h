#pragma once
// Names that come from outside (bundle identifiers, table names, language codes) become file and
// folder names. Only a name that stays one component inside its parent folder may be used.

#include <string_view>

namespace orvel {

// False for "", ".", "..", and any name holding "/" or NUL.
inline bool isSafePathComponent(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

} // namespace orvel
