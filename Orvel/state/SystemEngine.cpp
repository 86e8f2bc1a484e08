#include "Orvel/state/SystemEngine.h"

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

} // namespace orvel
