#include "Orvel/state/SystemEngine.h"

#include "engine/apps/AppDiscovery.h"
#include "engine/capture/AppLink.h"
#include "engine/pipeline/Validation.h"

namespace orvel {

std::vector<SourceString> SystemEngine::loadStrings(const TranslatableApp& app, const SeenLists& seen) const {
    return app.loadStrings(seen);
}

std::optional<AppState> SystemEngine::readState(const TranslatableApp& app) const {
    return AppLink{app, m_live}.readState();
}

EngineFacade::TermCheck SystemEngine::termCheck() const {
    return [](const SourceString& source, const StringTranslation& translation, std::string_view language,
              const Terms& terms, const GlossaryWords& glossary) {
        return Validation::termProblem(source, translation.text, translation.plural, language, terms,
                                       glossary, std::nullopt);
    };
}

std::vector<TranslatableApp> SystemEngine::scanApps() const {
    return AppDiscovery::scan(AppDiscovery::folders(), m_live.platform);
}

bool SystemEngine::appleModelSupports(std::string_view language, AppleModels::Kind kind) const {
    return AppleModels::supports(language, kind);
}

TranslationUpdater::Outcome SystemEngine::updateProject(const TranslatableApp& app,
                                                        const std::string& language,
                                                        const ModelSettings& settings, bool review,
                                                        const TranslationUpdater::ProjectCallback& onResult,
                                                        const std::stop_token& stop) const {
    return TranslationUpdater::updateProject(app, language, settings, review, onResult, stop);
}

} // namespace orvel
