#pragma once
// The engine as the state's tests see it: the real calls against the test's home folder, or strings the
// test scripts, with a count of how often the strings were read, and translation checks the test can hold.

#include <memory>
#include <optional>
#include <vector>

#include "Orvel/state/SystemEngine.h"
#include "tests/Orvel/state/CheckGate.h"

namespace orvel::testing {

class TestEngine : public EngineFacade {
  public:
    explicit TestEngine(LiveServices live) : m_system(std::move(live)) {}
    // No worker stays held past the test.
    ~TestEngine() override { checks->releaseAll(); }

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override {
        ++loads;
        lastSeen = seen;
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

    // Shared with the checks handed out, which may outlive the engine on a worker.
    std::shared_ptr<CheckGate> checks = std::make_shared<CheckGate>();
    // When set, what every loadStrings() returns instead of reading the app.
    std::optional<std::vector<SourceString>> scriptedStrings;
    mutable int loads = 0;
    mutable SeenLists lastSeen;

  private:
    SystemEngine m_system;
};

} // namespace orvel::testing
