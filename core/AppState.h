#pragma once
// What a running target app publishes in "state.json" of its data folder.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Date.h"
#include "core/Json.h"
#include "core/OrvelProtocol.h"

namespace orvel {

struct AppState {
    // A screen the app can open on the command "show".
    struct Screen {
        std::string id;
        std::string title;

        static Screen fromJson(const json::Json& value);
        json::Json toJson() const;
        bool operator==(const Screen&) const = default;
    };

    std::int64_t protocol = OrvelProtocol::version;
    std::int32_t pid = 0;
    std::optional<std::string> language;
    std::int64_t revision = 0;
    bool probe = false;
    std::vector<OrvelProtocol::Capability> capabilities;
    std::vector<Screen> screens;
    // Marker number (decimal text) to the table and key it stands for.
    std::map<std::string, std::vector<std::string>> markers;
    // Strings the app looked up while running, each as table and key. Each becomes a string to
    // translate, so a list beyond the caps is cut when read: the first maximumSeen entries are kept,
    // without those holding a text longer than maximumSeenTextBytes.
    std::vector<std::vector<std::string>> seen;
    static constexpr std::size_t maximumSeen = 50'000;
    static constexpr std::size_t maximumSeenTextBytes = 4096;
    Date updated{};

    static AppState fromJson(const json::Json& value);
    json::Json toJson() const;
    bool operator==(const AppState&) const = default;
};

} // namespace orvel

template <> struct std::hash<orvel::AppState::Screen> {
    std::size_t operator()(const orvel::AppState::Screen& screen) const noexcept;
};
