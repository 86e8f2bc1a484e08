#pragma once
// The live link to the running copies of one target app: commands go out as "orvel.command"
// notifications addressed by bundle identifier; the app answers by replacing "state.json" in its data
// folder. A command is answered by a state written after it was sent, so every wait polls that file for
// a fresh state the caller accepts.

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/Date.h"
#include "core/DefaultsStore.h"
#include "core/Json.h"
#include "core/OrvelProtocol.h"
#include "engine/apps/RunningApplication.h"
#include "engine/apps/TranslatableApp.h"
#include "engine/capture/LiveServices.h"

namespace orvel {

struct AppLink {
    // The entries of a command besides "command": texts or Booleans.
    using Entries = std::map<std::string, json::Json>;
    using Acceptance = std::function<bool(const AppState&)>;

    // A state written this long before a command was sent still answers it: the app's clock and ours
    // are read at slightly different moments.
    static constexpr std::chrono::milliseconds freshnessMargin{10};
    static constexpr std::chrono::milliseconds pollInterval{100};
    static constexpr std::chrono::milliseconds selectTimeout{4000};
    // Target apps' defaults live in this folder of the settings folder, so that no bundle identifier
    // (not even the domain of the application's own settings) names a file beside them.
    static constexpr std::string_view appDefaultsFolder = "apps";

    TranslatableApp app;
    LiveServices services;

    // Posts the command to every copy of the app; "command" always carries the command, whatever the
    // entries hold. Reports nothing: whether any app received it only shows in its state.
    void send(OrvelProtocol::Command command, const Entries& entries = {}) const;

    // "state.json" in the app's data folder.
    std::filesystem::path stateURL() const;
    // The published state; nothing when the file is missing, unreadable or does not decode, and for a
    // bundle identifier that cannot name a data folder.
    std::optional<AppState> readState() const;

    // The first running process started from a bundle with the app's bundle identifier.
    std::optional<RunningApplication> runningCopy() const;
    // Every such process, earliest started first.
    std::vector<RunningApplication> runningCopies() const;

    // The app's defaults suite, in appDefaultsFolder of the services' settings folder; nothing for a
    // bundle identifier that cannot name a file there.
    std::optional<DefaultsStore> defaults() const;

    // Shows `code` in a running copy, or, when none runs, stores it as the override read at the next
    // launch (nothing, or an empty code, removes the choice). False only when a running copy did not
    // confirm the language within selectTimeout.
    bool setLanguage(const std::optional<std::string>& code) const;

    // Whether a wait is to end before its time, looked at before each of its pauses.
    using Abandon = std::function<bool()>;

    // Sends the command and waits up to `timeout` for a fresh state that `accept` takes.
    std::optional<AppState> request(OrvelProtocol::Command command, const Entries& entries,
                                    std::chrono::milliseconds timeout, const Acceptance& accept,
                                    const Abandon& abandon = {}) const;

    // The wait of request() for a command sent at `sentAt`: reads the state at once, then after every
    // pollInterval until `sentAt + timeout`, or until `abandon` holds. Cancellation does not end it early.
    std::optional<AppState> awaitState(Date sentAt, std::chrono::milliseconds timeout,
                                       const Acceptance& accept, const Abandon& abandon = {}) const;

    // Whether `state` was written late enough to answer a command sent at `sentAt`.
    static bool isFresh(const AppState& state, Date sentAt);
};

} // namespace orvel
