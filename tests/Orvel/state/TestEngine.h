#pragma once
// The engine as the state's tests see it: the real calls against the test's home folder, or strings the
// test scripts, with a count of how often the strings were read, translation checks the test can hold,
// a scripted model for runs and updates, and scripted captures.

#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "Orvel/state/SystemEngine.h"
#include "core/Locked.h"
#include "tests/Orvel/state/CheckGate.h"
#include "tests/Orvel/state/ScriptedModel.h"
#include "tests/engine/capture/FakeAccessibility.h"

namespace orvel::testing {

class TestEngine : public EngineFacade {
  public:
    explicit TestEngine(LiveServices live) : m_system(std::move(live), m_accessibility) {}
    // No worker stays held past the test.
    ~TestEngine() override {
        checks->releaseAll();
        model->release();
    }

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override {
        ++loads;
        lastSeen = seen;
        return scriptedStrings ? *scriptedStrings : m_system.loadStrings(app, seen);
    }
    std::optional<AppState> readState(const TranslatableApp& app) const override {
        ++stateReads;
        return m_system.readState(app);
    }

    // The real check, passed through the gate.
    TermCheck termCheck() const override {
        return [gate = checks, check = m_system.termCheck()](
                   const SourceString& source, const StringTranslation& translation,
                   std::string_view language, const Terms& terms, const GlossaryWords& glossary) {
            gate->pass(language);
            return check(source, translation, language, terms, glossary);
        };
    }

    TranslationUpdater::Pipeline pipeline() const override { return ScriptedModel::pipeline(model); }
    bool modelSupports(const std::string& language, AppleModels::Kind kind) const override {
        modelChecks.withLock([&](auto& checks) { checks.emplace_back(language, kind); });
        return !unsupported.contains(language);
    }

    bool accessibilityTrusted() const override { return trusted; }
    std::optional<RunningApplication> runningCopy(const TranslatableApp& app) const override {
        return m_system.runningCopy(app);
    }
    ContextCapture::Result capture(const TranslatableApp&, bool visitScreens, const ContextCapture::Progress&,
                                   const std::stop_token&) const override {
        ++captures;
        visitedScreens = visitScreens;
        if (captureError)
            std::rethrow_exception(captureError);
        return captureResult;
    }
    bool setLanguage(const TranslatableApp& app, const std::optional<std::string>& code) const override {
        languageSwitches.withLock([&](auto& switches) { switches.push_back(code); });
        return m_system.setLanguage(app, code);
    }

    // Shared with the checks handed out, which may outlive the engine on a worker.
    std::shared_ptr<CheckGate> checks = std::make_shared<CheckGate>();
    // Answers every run and update; shared with the pipelines handed out.
    std::shared_ptr<ScriptedModel> model = std::make_shared<ScriptedModel>();
    // When set, what every loadStrings() returns instead of reading the app.
    std::optional<std::vector<SourceString>> scriptedStrings;
    mutable int loads = 0;
    mutable SeenLists lastSeen;
    mutable std::atomic<int> stateReads = 0;
    // Languages the Apple models cannot serve, and the checks asked.
    std::set<std::string> unsupported;
    mutable Locked<std::vector<std::pair<std::string, AppleModels::Kind>>> modelChecks;

    bool trusted = true;
    ContextCapture::Result captureResult;
    std::exception_ptr captureError;
    mutable std::atomic<int> captures = 0;
    mutable std::atomic<bool> visitedScreens = false;
    mutable Locked<std::vector<std::optional<std::string>>> languageSwitches;

  private:
    FakeAXPlatform m_accessibility;
    SystemEngine m_system;
};

} // namespace orvel::testing
