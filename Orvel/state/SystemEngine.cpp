#include "Orvel/state/SystemEngine.h"

#include "engine/capture/AppLink.h"

namespace orvel {

std::vector<SourceString> SystemEngine::loadStrings(const TranslatableApp& app, const SeenLists& seen) const {
    return app.loadStrings(seen);
}

std::optional<AppState> SystemEngine::readState(const TranslatableApp& app) const {
    return AppLink{app, m_live}.readState();
}

} // namespace orvel
