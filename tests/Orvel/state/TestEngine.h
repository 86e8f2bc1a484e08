#pragma once
// The engine as the state's tests see it: the real calls against the test's home folder, or strings the
// test scripts, with a count of how often the strings were read.

#include <optional>
#include <vector>

#include "Orvel/state/SystemEngine.h"

namespace orvel::testing {

class TestEngine : public EngineFacade {
  public:
    explicit TestEngine(LiveServices live) : m_system(std::move(live)) {}

    std::vector<SourceString> loadStrings(const TranslatableApp& app, const SeenLists& seen) const override {
        ++loads;
        lastSeen = seen;
        return scriptedStrings ? *scriptedStrings : m_system.loadStrings(app, seen);
    }
    std::optional<AppState> readState(const TranslatableApp& app) const override {
        return m_system.readState(app);
    }

    // When set, what every loadStrings() returns instead of reading the app.
    std::optional<std::vector<SourceString>> scriptedStrings;
    mutable int loads = 0;
    mutable SeenLists lastSeen;

  private:
    SystemEngine m_system;
};

} // namespace orvel::testing
