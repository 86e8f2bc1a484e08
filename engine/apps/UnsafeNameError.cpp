#include "engine/apps/UnsafeNameError.h"

#include <string>

#include "core/PathComponent.h"

namespace orvel {

void requireSafeLanguageCode(std::string_view code) {
    if (!isSafePathComponent(code))
        throw UnsafeNameError("The language code \"" + shownName(code) +
                              "\" cannot name a file of the app's data folder.");
}

} // namespace orvel
