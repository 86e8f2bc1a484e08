#pragma once
// The engine calls the application's state makes, behind one interface: the application passes
// SystemEngine, and tests script the answers (strings, published states, later runs) without target
// apps, models or network. Every call is safe from any thread.

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppState.h"
#include "core/SourceString.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationUpdater.h"
#include "engine/model/AppleModels.h"
#include "engine/model/ModelSettings.h"

namespace orvel {

class EngineFacade {
  public:
    using SeenLists = std::vector<std::vector<std::string>>;
    using Terms = std::map<std::string, std::string>;
    using GlossaryWords = std::set<std::string, std::less<>>;
    // The first problem of a translation against what was decided for the whole app and language (the
    // chosen terms, the glossary, the language's wordings to avoid, a text left in English), or nothing.
    using TermCheck = std::function<std::optional<std::string>(
        const SourceString& source, const StringTranslation& translation, std::string_view language,
        const Terms& terms, const GlossaryWords& glossary)>;

    virtual ~EngineFacade() = default;

    // The app's current strings, with those of `seen` that no catalog holds (TranslatableApp::loadStrings).
    virtual std::vector<SourceString> loadStrings(const TranslatableApp& app,
                                                  const SeenLists& seen) const = 0;

    // The state the app last published in its "state.json", or nothing (AppLink::readState).
    virtual std::optional<AppState> readState(const TranslatableApp& app) const = 0;

    // The check of one translation (Validation::termProblem without a reference). The check owns what
    // it uses: it runs on any thread and may outlive the facade.
    virtual TermCheck termCheck() const = 0;

    // The translatable apps installed or running (AppDiscovery::scan). Reads every catalog in the worst
    // case: never called on the main thread.
    virtual std::vector<TranslatableApp> scanApps() const = 0;

    // Whether the Apple model back-end of `kind` can translate into `language` (AppleModels::supports).
    virtual bool appleModelSupports(std::string_view language, AppleModels::Kind kind) const = 0;

    // Brings the app's project in `language` up to date after an app update, saving and publishing every
    // result as it is merged (TranslationUpdater::updateProject with the real pipeline). Throws what the
    // update throws; a stop request ends it with CancellationError.
    virtual TranslationUpdater::Outcome updateProject(const TranslatableApp& app, const std::string& language,
                                                      const ModelSettings& settings, bool review,
                                                      const TranslationUpdater::ProjectCallback& onResult,
                                                      const std::stop_token& stop) const = 0;
};

} // namespace orvel
