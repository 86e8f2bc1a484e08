#pragma once
// The engine as the state's tests see it: the real calls against the test's home folder, or strings the
// test scripts, with a count of how often the strings were read, translation checks the test can hold,
// a scripted model for runs and updates, scripted captures, and the installed apps with scans and reads
// of strings that the test can hold.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "Orvel/state/SystemEngine.h"
#include "core/Cancellation.h"
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
        releaseHeld();
    }

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override {
        ++loads;
        {
            // The library counts on a worker while a workspace reads strings on the main thread.
            std::unique_lock lock(m_mutex);
            lastSeen = seen;
            m_released.wait(lock, [&] { return !m_heldStrings.contains(app.bundleIdentifier); });
        }
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

    // The apps installed at the moment the scan starts.
    std::vector<TranslatableApp> scanApps() const override {
        std::unique_lock lock(m_mutex);
        const int number = ++m_scans;
        std::vector<TranslatableApp> found = m_installed;
        m_released.wait(lock, [&] { return !m_heldScans.contains(number); });
        return found;
    }
    void install(std::vector<TranslatableApp> apps) {
        std::lock_guard lock(m_mutex);
        m_installed = std::move(apps);
    }
    int scans() const {
        std::lock_guard lock(m_mutex);
        return m_scans;
    }
    // The scan numbered `number` (the first is 1) waits, once started, until released.
    void holdScan(int number) {
        std::lock_guard lock(m_mutex);
        m_heldScans.insert(number);
    }
    // Reads of the app's strings wait until released.
    void holdStrings(std::string bundleIdentifier) {
        std::lock_guard lock(m_mutex);
        m_heldStrings.insert(std::move(bundleIdentifier));
    }
    void releaseHeld() {
        {
            std::lock_guard lock(m_mutex);
            m_heldScans.clear();
            m_heldStrings.clear();
        }
        m_released.notify_all();
    }

    TranslationUpdater::Pipeline pipeline() const override { return ScriptedModel::pipeline(model); }
    bool modelSupports(const std::string& language, AppleModels::Kind kind) const override {
        modelChecks.withLock([&](auto& checks) { checks.emplace_back(language, kind); });
        return !unsupported.contains(language);
    }

    bool accessibilityTrusted() const override { return trusted; }
    std::vector<RunningApplication> runningCopies(const TranslatableApp& app) const override {
        return m_system.runningCopies(app);
    }
    ContextCapture::Result capture(const TranslatableApp&, bool visitScreens, const ContextCapture::Progress&,
                                   const std::stop_token& stop) const override {
        ++captures;
        visitedScreens = visitScreens;
        if (captureHangs) {
            // As an app that stops answering: only a stop ends the capture, as the real one ends.
            std::mutex mutex;
            std::condition_variable_any never;
            std::unique_lock lock(mutex);
            never.wait_for(lock, stop, std::chrono::seconds(30), [] { return false; });
            captureStopped = stop.stop_requested();
            throw CancellationError();
        }
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
    mutable std::atomic<int> loads = 0;
    mutable SeenLists lastSeen;
    mutable std::atomic<int> stateReads = 0;
    // Languages the Apple models cannot serve, and the checks asked.
    std::set<std::string> unsupported;
    mutable Locked<std::vector<std::pair<std::string, AppleModels::Kind>>> modelChecks;

    bool trusted = true;
    ContextCapture::Result captureResult;
    std::exception_ptr captureError;
    // Captures hang until they are stopped; whether the last one was.
    bool captureHangs = false;
    mutable std::atomic<bool> captureStopped = false;
    mutable std::atomic<int> captures = 0;
    mutable std::atomic<bool> visitedScreens = false;
    mutable Locked<std::vector<std::optional<std::string>>> languageSwitches;

  private:
    FakeAXPlatform m_accessibility;
    SystemEngine m_system;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_released;
    std::vector<TranslatableApp> m_installed;
    std::set<int> m_heldScans;
    std::set<std::string> m_heldStrings;
    mutable int m_scans = 0;
};

} // namespace orvel::testing
