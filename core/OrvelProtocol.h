#pragma once
// The vocabulary shared with the companion framework inside target apps: protocol version, file names,
// defaults key, notification names, commands, capabilities, and the one JSON layout of every file
// exchanged with it or kept in a target app's data folder.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Date.h"
#include "core/Json.h"

namespace orvel::OrvelProtocol {

inline constexpr std::int64_t version = 1;

inline constexpr std::string_view manifestFile = "app.json";
inline constexpr std::string_view contextFile = "context.md";
inline constexpr std::string_view stateFile = "state.json";
inline constexpr std::string_view languageFile = "language.json";
inline constexpr std::string_view languageKey = "OrvelLanguage";
inline constexpr std::string_view commandNotification = "orvel.command";
inline constexpr std::string_view stateNotification = "orvel.state";

// Live commands from the translator to a running app, in declaration order.
enum class Command { hello, select, probe, show, refresh };

// What a companion offers.
enum class Capability { live, probe, screens };

std::string_view text(Command command);
std::string_view text(Capability capability);
// Nothing for an unrecognised text.
std::optional<Command> command(std::string_view text);
std::optional<Capability> capability(std::string_view text);

// The shared encoder: pretty-printed (one key per line), keys sorted, "/" not escaped, absent optional
// fields left out, dates as ISO 8601 text with milliseconds.
std::string encode(const json::Json& value);
template <class T> std::string encode(const T& value) {
    return encode(json::encode(value));
}

// The shared decoder: strict typed decoding; malformed text or a mismatching value throws
// json::DecodingError.
template <class T> T decode(std::string_view text) {
    return json::decode<T>(json::parse(text));
}

} // namespace orvel::OrvelProtocol

namespace orvel::json {

template <> struct Coder<OrvelProtocol::Capability> {
    static OrvelProtocol::Capability decode(const Json& value);
    static Json encode(OrvelProtocol::Capability value) { return std::string(OrvelProtocol::text(value)); }
};

} // namespace orvel::json
