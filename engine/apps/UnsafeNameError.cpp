#include "engine/apps/UnsafeNameError.h"

#include <string>

#include "core/PathComponent.h"

namespace orvel {

void requireSafeLanguageCode(std::string_view code) {
    if (isSafePathComponent(code))
        return;
    std::string shown;
    for (char c : code)
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    throw UnsafeNameError("The language code \"" + shown + "\" cannot name a file of the app's data folder.");
}

} // namespace orvel
