#pragma once
// The engine itself behind the facade: the calls go to the real apps, files, models and live links.

#include "Orvel/state/EngineFacade.h"
#include "engine/capture/AXPlatform.h"
#include "engine/capture/LiveServices.h"

namespace orvel {

class SystemEngine : public EngineFacade {
  public:
    // `live` and `accessibility` must outlive the engine: they are used by reference.
    SystemEngine(LiveServices live, const AXPlatform& accessibility)
        : m_live(std::move(live)), m_accessibility(accessibility) {}

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override;
    std::optional<AppState> readState(const TranslatableApp& app) const override;
    TermCheck termCheck() const override;
    std::vector<TranslatableApp> scanApps() const override;

    TranslationUpdater::Pipeline pipeline() const override;
    bool modelSupports(const std::string& language, AppleModels::Kind kind) const override;

    bool accessibilityTrusted() const override;
    std::vector<RunningApplication> runningCopies(const TranslatableApp& app) const override;
    ContextCapture::Result capture(const TranslatableApp& app, bool visitScreens,
                                   const ContextCapture::Progress& progress,
                                   const std::stop_token& stop) const override;
    bool setLanguage(const TranslatableApp& app, const std::optional<std::string>& code) const override;

  private:
    LiveServices m_live;
    const AXPlatform& m_accessibility;
};

} // namespace orvel
