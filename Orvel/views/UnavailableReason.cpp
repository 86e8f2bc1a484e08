#include "Orvel/views/UnavailableReason.h"

#include "Orvel/views/TextKeys.h"
#include "engine/model/AppleModels.h"

#include <array>

namespace orvel {

QString unavailableReason(const std::string& reason) {
    const std::string shortcut(AppleModels::shortcutName);
    if (reason == "needs the " + shortcut + " shortcut")
        return localizedFormat("needs the %@ shortcut", {QString::fromStdString(shortcut)},
                               "%@ is the name of a shortcut in the Shortcuts app, kept as it is");
    static constexpr std::array<const char*, 5> knownReasons{
        "needs macOS 26 or later", "this Mac cannot run Apple Intelligence",
        "Apple Intelligence is turned off in System Settings", "the model is still downloading",
        "the model is not available"};
    for (const char* known : knownReasons)
        if (reason == known)
            return localized(known);
    return QString::fromStdString(reason);
}

} // namespace orvel
