#pragma once
// The engine calls the application's state makes, behind one interface: the application passes
// SystemEngine, and tests script the answers (strings, published states, later runs) without target
// apps, models or network. Every call is safe from any thread.

#include <optional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/SourceString.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel {

class EngineFacade {
  public:
    using SeenLists = std::vector<std::vector<std::string>>;

    virtual ~EngineFacade() = default;

    // The app's current strings, with those of `seen` that no catalog holds (TranslatableApp::loadStrings).
    virtual std::vector<SourceString> loadStrings(const TranslatableApp& app,
                                                  const SeenLists& seen) const = 0;

    // The state the app last published in its "state.json", or nothing (AppLink::readState).
    virtual std::optional<AppState> readState(const TranslatableApp& app) const = 0;
};

} // namespace orvel
