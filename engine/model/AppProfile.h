#pragma once
// The few facts about the app being translated that the model requests quote.

#include <optional>
#include <string>

#include "core/AppManifest.h"

namespace orvel {

struct TranslatableApp;

struct AppProfile {
    // The display name, quoted in the first line of every system message.
    std::string name;
    // The code of the app's own language, e.g. "en".
    std::string sourceLanguage;
    std::optional<AppManifest> manifest;
    // The free text the developer ships beside the manifest.
    std::optional<std::string> contextText;

    AppProfile() = default;
    AppProfile(std::string name, std::string sourceLanguage,
               std::optional<AppManifest> manifest = std::nullopt,
               std::optional<std::string> contextText = std::nullopt);
    explicit AppProfile(const TranslatableApp& app);

    bool operator==(const AppProfile&) const = default;
};

} // namespace orvel
