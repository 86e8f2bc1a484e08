#pragma once
// An engine that serves given strings and starts nothing: no scan, run, capture or language switch, and
// every translation passes its checks. For the screenshot scenes and the benchmarks, which show or
// measure the state around the engine, not the engine.

#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/EngineFacade.h"

namespace orvel {

class InertEngine : public EngineFacade {
  public:
    std::vector<SourceString> loadStrings(const TranslatableApp&, const SeenLists&) const override {
        return strings;
    }
    std::optional<AppState> readState(const TranslatableApp&) const override { return std::nullopt; }
    TermCheck termCheck() const override {
        return [](const SourceString&, const StringTranslation&, std::string_view, const Terms&,
                  const GlossaryWords&) { return std::optional<std::string>(); };
    }
    std::vector<TranslatableApp> scanApps() const override { return {}; }
    TranslationUpdater::Pipeline pipeline() const override { return {}; }
    bool modelSupports(const std::string&, AppleModels::Kind) const override { return false; }
    bool accessibilityTrusted() const override { return false; }
    std::vector<RunningApplication> runningCopies(const TranslatableApp&) const override { return {}; }
    ContextCapture::Result capture(const TranslatableApp&, bool, const ContextCapture::Progress&,
                                   const std::stop_token&) const override {
        return {};
    }
    bool setLanguage(const TranslatableApp&, const std::optional<std::string>&) const override {
        return false;
    }

    std::vector<SourceString> strings;
};

} // namespace orvel
