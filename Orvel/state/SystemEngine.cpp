#include "Orvel/state/SystemEngine.h"

#include "engine/apps/AppDiscovery.h"
#include "engine/capture/AXReader.h"
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

TranslationUpdater::Pipeline SystemEngine::pipeline() const {
    return TranslationUpdater::Pipeline::live();
}

bool SystemEngine::modelSupports(const std::string& language, AppleModels::Kind kind) const {
    return AppleModels::supports(language, kind);
}

bool SystemEngine::accessibilityTrusted() const {
    return AXReader::isTrusted(m_accessibility);
}

std::vector<RunningApplication> SystemEngine::runningCopies(const TranslatableApp& app) const {
    return AppLink{app, m_live}.runningCopies();
}

ContextCapture::Result SystemEngine::capture(const TranslatableApp& app, bool visitScreens,
                                             const ContextCapture::Progress& progress,
                                             const std::stop_token& stop) const {
    return ContextCapture::capture(app, visitScreens, progress,
                                   ContextCapture::Services{.live = m_live, .accessibility = m_accessibility},
                                   stop);
}

bool SystemEngine::setLanguage(const TranslatableApp& app, const std::optional<std::string>& code) const {
    return AppLink{app, m_live}.setLanguage(code);
}

} // namespace orvel
