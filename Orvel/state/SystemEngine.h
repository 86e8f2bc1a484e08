#pragma once
// The engine itself behind the facade: the calls go to the real apps, files and live links.

#include "Orvel/state/EngineFacade.h"
#include "engine/capture/LiveServices.h"

namespace orvel {

class SystemEngine : public EngineFacade {
  public:
    // `live` must outlive the engine: the bus, platform and clock are used by reference.
    explicit SystemEngine(LiveServices live) : m_live(std::move(live)) {}

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override;
    std::optional<AppState> readState(const TranslatableApp& app) const override;
    TermCheck termCheck() const override;
    std::vector<TranslatableApp> scanApps() const override;
    bool appleModelSupports(std::string_view language, AppleModels::Kind kind) const override;
    TranslationUpdater::Outcome updateProject(const TranslatableApp& app, const std::string& language,
                                              const ModelSettings& settings, bool review,
                                              const TranslationUpdater::ProjectCallback& onResult,
                                              const std::stop_token& stop) const override;

  private:
    LiveServices m_live;
};

} // namespace orvel
