#include "core/AppState.h"

#include <algorithm>

#include "core/Hash.h"

namespace orvel {
namespace {

using SeenList = std::vector<std::vector<std::string>>;

bool isWithinCaps(const std::vector<std::string>& entry) {
    return std::all_of(entry.begin(), entry.end(),
                       [](const std::string& text) { return text.size() <= AppState::maximumSeenTextBytes; });
}

// Decoded entry by entry, so that the entries beyond the cap are never built.
SeenList seenWithinCaps(const json::Json& object) {
    const auto found = object.find("seen");
    if (found == object.end() || found->is_null())
        throw json::DecodingError("No value associated with key \"seen\".", "seen");
    SeenList seen;
    try {
        if (!found->is_array())
            json::typeMismatch("Array", *found);
        for (std::size_t index = 0; index < found->size() && seen.size() < AppState::maximumSeen; ++index) {
            try {
                auto entry = json::decode<std::vector<std::string>>((*found)[index]);
                if (isWithinCaps(entry))
                    seen.push_back(std::move(entry));
            } catch (const json::DecodingError& error) {
                json::rethrowWithPath(error, "[" + std::to_string(index) + "]");
            }
        }
    } catch (const json::DecodingError& error) {
        json::rethrowWithPath(error, "seen");
    }
    return seen;
}

} // namespace

AppState::Screen AppState::Screen::fromJson(const json::Json& value) {
    return {json::required<std::string>(value, "id"), json::required<std::string>(value, "title")};
}

json::Json AppState::Screen::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "id", id);
    json::set(out, "title", title);
    return out;
}

AppState AppState::fromJson(const json::Json& value) {
    AppState state;
    state.protocol = json::required<std::int64_t>(value, "protocol");
    state.pid = json::required<std::int32_t>(value, "pid");
    state.language = json::optional<std::string>(value, "language");
    state.revision = json::required<std::int64_t>(value, "revision");
    state.probe = json::required<bool>(value, "probe");
    state.capabilities = json::required<std::vector<OrvelProtocol::Capability>>(value, "capabilities");
    state.screens = json::required<std::vector<Screen>>(value, "screens");
    state.markers = json::required<std::map<std::string, std::vector<std::string>>>(value, "markers");
    state.seen = seenWithinCaps(value);
    state.updated = json::required<Date>(value, "updated");
    return state;
}

json::Json AppState::toJson() const {
    json::Json out = json::Json::object();
    json::set(out, "protocol", protocol);
    json::set(out, "pid", pid);
    json::set(out, "language", language);
    json::set(out, "revision", revision);
    json::set(out, "probe", probe);
    json::set(out, "capabilities", capabilities);
    json::set(out, "screens", screens);
    json::set(out, "markers", markers);
    json::set(out, "seen", seen);
    json::set(out, "updated", updated);
    return out;
}

} // namespace orvel

std::size_t
std::hash<orvel::AppState::Screen>::operator()(const orvel::AppState::Screen& screen) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, screen.id);
    orvel::hashCombine(seed, screen.title);
    return seed;
}
