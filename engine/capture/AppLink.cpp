#include "engine/capture/AppLink.h"

#include <exception>

#include "core/DefaultsStore.h"
#include "engine/apps/AppBundle.h"
#include "engine/apps/AppStateFile.h"
#include "engine/capture/StateFilePoll.h"

namespace orvel {
namespace {

// An empty code asks for no choice, so both spellings of "no language" behave the same.
std::optional<std::string> chosenLanguage(const std::optional<std::string>& code) {
    if (code && code->empty())
        return std::nullopt;
    return code;
}

} // namespace

void AppLink::send(OrvelProtocol::Command command, const Entries& entries) const {
    Notification notification{.name = std::string(OrvelProtocol::commandNotification),
                              .object = app.bundleIdentifier,
                              .userInfo = json::Json::object()};
    for (const auto& [key, value] : entries)
        notification.userInfo[key] = value;
    notification.userInfo["command"] = std::string(OrvelProtocol::text(command));
    services.bus.post(notification);
}

std::filesystem::path AppLink::stateURL() const {
    return AppStateFile::url(app);
}

std::optional<AppState> AppLink::readState() const {
    return AppStateFile::read(app);
}

std::optional<RunningApplication> AppLink::runningCopy() const {
    std::vector<RunningApplication> copies = runningCopies();
    if (copies.empty())
        return std::nullopt;
    return std::move(copies.front());
}

std::vector<RunningApplication> AppLink::runningCopies() const {
    std::vector<RunningApplication> out;
    for (auto& running : services.platform.runningApplications()) {
        auto bundle = AppBundle::open(running.bundleURL);
        if (bundle && bundle->bundleIdentifier() == app.bundleIdentifier)
            out.push_back(std::move(running));
    }
    return out;
}

std::optional<DefaultsStore> AppLink::defaults() const {
    const std::filesystem::path settings = services.defaultsFolder.value_or(DefaultsStore::defaultFolder());
    return DefaultsStore::open(app.bundleIdentifier, settings / appDefaultsFolder);
}

bool AppLink::setLanguage(const std::optional<std::string>& code) const {
    const auto language = chosenLanguage(code);
    if (!runningCopy()) {
        // Without a running copy the choice lives only in the app's defaults; when it cannot be stored
        // there the switch did not happen, and saying otherwise would leave the person misled.
        auto suite = defaults();
        if (!suite)
            return false;
        try {
            if (language)
                suite->set(OrvelProtocol::languageKey, *language);
            else
                suite->remove(OrvelProtocol::languageKey);
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    auto answer = request(OrvelProtocol::Command::select, {{"language", language.value_or("")}},
                          selectTimeout, [&](const AppState& state) { return state.language == language; });
    return answer.has_value();
}

std::optional<AppState> AppLink::request(OrvelProtocol::Command command, const Entries& entries,
                                         std::chrono::milliseconds timeout, const Acceptance& accept,
                                         const Abandon& abandon) const {
    const Date sentAt = services.clock.now();
    send(command, entries);
    return awaitState(sentAt, timeout, accept, abandon);
}

std::optional<AppState> AppLink::awaitState(Date sentAt, std::chrono::milliseconds timeout,
                                            const Acceptance& accept, const Abandon& abandon) const {
    const Date deadline = sentAt + timeout;
    StateFilePoll poll(stateURL(), [this] { return readState(); });
    while (services.clock.now() < deadline) {
        if (auto state = poll.read(); state && isFresh(*state, sentAt) && accept(*state))
            return state;
        if (abandon && abandon())
            return std::nullopt;
        services.clock.pause(pollInterval);
    }
    return std::nullopt;
}

bool AppLink::isFresh(const AppState& state, Date sentAt) {
    return state.updated >= sentAt - freshnessMargin;
}

} // namespace orvel
