#include "engine/model/AppProfile.h"

#include "engine/apps/TranslatableApp.h"

namespace orvel {

AppProfile::AppProfile(std::string name, std::string sourceLanguage, std::optional<AppManifest> manifest,
                       std::optional<std::string> contextText)
    : name(std::move(name)), sourceLanguage(std::move(sourceLanguage)), manifest(std::move(manifest)),
      contextText(std::move(contextText)) {}

AppProfile::AppProfile(const TranslatableApp& app)
    : AppProfile(app.name, app.sourceLanguage, app.manifest, app.contextText) {}

} // namespace orvel
