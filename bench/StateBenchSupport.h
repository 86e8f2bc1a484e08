#pragma once
// What the benchmarks of the application's state share: the one application object they run under, and
// an engine whose strings are scripted and whose model answers at once.

#include <QCoreApplication>

#include <memory>
#include <optional>
#include <vector>

#include "Orvel/state/EngineFacade.h"
#include "tests/Orvel/state/ScriptedModel.h"

namespace orvel::bench {

// Made on first use and kept for the whole benchmark program.
inline QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "orvel_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

class ScriptedEngine : public EngineFacade {
  public:
    std::vector<SourceString> loadStrings(const TranslatableApp&, const SeenLists&) const override {
        return strings;
    }
    std::optional<AppState> readState(const TranslatableApp&) const override { return std::nullopt; }
    // Finds no problem, so that the background checks cost next to nothing beside what is measured.
    TermCheck termCheck() const override {
        return [](const SourceString&, const StringTranslation&, std::string_view, const Terms&,
                  const GlossaryWords&) { return std::optional<std::string>(); };
    }
    TranslationUpdater::Pipeline pipeline() const override { return testing::ScriptedModel::pipeline(model); }
    bool modelSupports(const std::string&, AppleModels::Kind) const override { return true; }
    bool accessibilityTrusted() const override { return false; }
    std::optional<RunningApplication> runningCopy(const TranslatableApp&) const override {
        return std::nullopt;
    }
    ContextCapture::Result capture(const TranslatableApp&, bool, const ContextCapture::Progress&,
                                   const std::stop_token&) const override {
        return {};
    }
    bool setLanguage(const TranslatableApp&, const std::optional<std::string>&) const override {
        return false;
    }

    std::vector<SourceString> strings;
    std::shared_ptr<testing::ScriptedModel> model = std::make_shared<testing::ScriptedModel>();
};

} // namespace orvel::bench
