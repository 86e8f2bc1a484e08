#pragma once
// The engine calls the application's state makes, behind one interface: the application passes
// SystemEngine, and tests script the answers (strings, published states, runs, updates, captures)
// without target apps, models or network. Every call is safe from any thread.

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
#include "engine/apps/RunningApplication.h"
#include "engine/apps/StringTranslation.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/apps/TranslationUpdater.h"
#include "engine/capture/ContextCapture.h"
#include "engine/model/AppleModels.h"

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

    // The translation calls of a run and of Translate Changes (the job's run, the key-term choice and
    // the two reference loads), as function objects that own what they use: a run's worker takes a copy
    // and may outlive the facade. A stop ends the run and the term choice with CancellationError.
    virtual TranslationUpdater::Pipeline pipeline() const = 0;
    // Whether the Apple model of `kind` can serve the language (AppleModels::supports).
    virtual bool modelSupports(const std::string& language, AppleModels::Kind kind) const = 0;

    // The live side of capture: whether this process may read other apps, the app's running copies
    // (earliest started first), the
    // capture itself (ContextCapture::capture, throws CaptureError) and the language switch of the
    // running copy (AppLink::setLanguage; false when a running copy did not confirm it in time).
    virtual bool accessibilityTrusted() const = 0;
    virtual std::vector<RunningApplication> runningCopies(const TranslatableApp& app) const = 0;
    virtual ContextCapture::Result capture(const TranslatableApp& app, bool visitScreens,
                                           const ContextCapture::Progress& progress,
                                           const std::stop_token& stop) const = 0;
    virtual bool setLanguage(const TranslatableApp& app, const std::optional<std::string>& code) const = 0;
};

} // namespace orvel
