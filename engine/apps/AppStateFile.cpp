#include "engine/apps/AppStateFile.h"

#include <exception>

#include "core/FileIO.h"
#include "core/OrvelProtocol.h"
#include "core/PathComponent.h"

namespace orvel::AppStateFile {

std::filesystem::path url(const TranslatableApp& app) {
    return app.dataFolder() / OrvelProtocol::stateFile;
}

std::optional<AppState> read(const TranslatableApp& app) {
    if (!isSafePathComponent(app.bundleIdentifier) || !app.hasNoLinks(app.dataFolder()))
        return std::nullopt;
    auto bytes = FileIO::readIfPresent(url(app), FileIO::Links::refuse);
    if (!bytes)
        return std::nullopt;
    try {
        return OrvelProtocol::decode<AppState>(*bytes);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace orvel::AppStateFile
