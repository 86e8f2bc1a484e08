#pragma once
// The engine as the state's tests see it: the real calls against the test's home folder, or strings the
// test scripts, with a count of how often the strings were read, and translation checks the test can hold;
// the installed apps, the scans that finish late, the Apple models' languages and the project updates are
// scripted too.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "Orvel/state/SystemEngine.h"
#include "tests/Orvel/state/CheckGate.h"

namespace orvel::testing {

class TestEngine : public EngineFacade {
  public:
    explicit TestEngine(LiveServices live) : m_system(std::move(live)) {}
    // No worker stays held past the test.
    ~TestEngine() override {
        checks->releaseAll();
        releaseScans();
    }

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override {
        ++loads;
        {
            // The library's counting reads strings on a worker while a workspace reads them here.
            std::lock_guard lock(m_mutex);
            lastSeen = seen;
        }
        return scriptedStrings ? *scriptedStrings : m_system.loadStrings(app, seen);
    }
    std::optional<AppState> readState(const TranslatableApp& app) const override {
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
    bool appleModelSupports(std::string_view language, AppleModels::Kind) const override {
        std::lock_guard lock(m_mutex);
        return !m_appleUnsupported.contains(std::string(language));
    }
    // Records the update; throws when updates are set to fail.
    TranslationUpdater::Outcome updateProject(const TranslatableApp& app, const std::string& language,
                                              const ModelSettings&, bool,
                                              const TranslationUpdater::ProjectCallback&,
                                              const std::stop_token&) const override {
        std::lock_guard lock(m_mutex);
        m_updates.push_back(app.bundleIdentifier + " " + language);
        if (m_failUpdates)
            throw std::runtime_error("the model is not reachable");
        return {};
    }

    void install(std::vector<TranslatableApp> apps) {
        std::lock_guard lock(m_mutex);
        m_installed = std::move(apps);
    }
    // The scan numbered `number` (the first is 1) waits, once started, until the scans are released.
    void holdScan(int number) {
        std::lock_guard lock(m_mutex);
        m_heldScans.insert(number);
    }
    void releaseScans() {
        {
            std::lock_guard lock(m_mutex);
            m_heldScans.clear();
        }
        m_released.notify_all();
    }
    int scans() const {
        std::lock_guard lock(m_mutex);
        return m_scans;
    }
    void refuseAppleLanguages(std::set<std::string> languages) {
        std::lock_guard lock(m_mutex);
        m_appleUnsupported = std::move(languages);
    }
    void failUpdates(bool fail) {
        std::lock_guard lock(m_mutex);
        m_failUpdates = fail;
    }
    // "bundle language" of each update, in order.
    std::vector<std::string> updates() const {
        std::lock_guard lock(m_mutex);
        return m_updates;
    }

    // Shared with the checks handed out, which may outlive the engine on a worker.
    std::shared_ptr<CheckGate> checks = std::make_shared<CheckGate>();
    // When set, what every loadStrings() returns instead of reading the app.
    std::optional<std::vector<SourceString>> scriptedStrings;
    mutable std::atomic<int> loads = 0;
    mutable SeenLists lastSeen;

  private:
    SystemEngine m_system;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_released;
    std::vector<TranslatableApp> m_installed;
    std::set<int> m_heldScans;
    mutable int m_scans = 0;
    std::set<std::string> m_appleUnsupported;
    bool m_failUpdates = false;
    mutable std::vector<std::string> m_updates;
};

} // namespace orvel::testing
