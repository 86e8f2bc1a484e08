#include "core/OrvelProtocol.h"

#include <array>
#include <utility>

namespace orvel::OrvelProtocol {
namespace {

constexpr std::array<std::pair<Command, std::string_view>, 5> commandTexts{{
    {Command::hello, "hello"},
    {Command::select, "select"},
    {Command::probe, "probe"},
    {Command::show, "show"},
    {Command::refresh, "refresh"},
}};

constexpr std::array<std::pair<Capability, std::string_view>, 3> capabilityTexts{{
    {Capability::live, "live"},
    {Capability::probe, "probe"},
    {Capability::screens, "screens"},
}};

template <class Value, std::size_t N>
std::string_view textOf(const std::array<std::pair<Value, std::string_view>, N>& table, Value value) {
    for (const auto& [candidate, name] : table)
        if (candidate == value)
            return name;
    return {};
}

template <class Value, std::size_t N>
std::optional<Value> valueOf(const std::array<std::pair<Value, std::string_view>, N>& table,
                             std::string_view text) {
    for (const auto& [value, name] : table)
        if (name == text)
            return value;
    return std::nullopt;
}

} // namespace

std::string_view text(Command command) {
    return textOf(commandTexts, command);
}

std::string_view text(Capability capability) {
    return textOf(capabilityTexts, capability);
}

std::optional<Command> command(std::string_view text) {
    return valueOf(commandTexts, text);
}

std::optional<Capability> capability(std::string_view text) {
    return valueOf(capabilityTexts, text);
}

std::string encode(const json::Json& value) {
    // nlohmann/json objects keep their keys sorted and never escape "/".
    return json::dump(value, 2);
}

} // namespace orvel::OrvelProtocol

namespace orvel::json {

OrvelProtocol::Capability Coder<OrvelProtocol::Capability>::decode(const Json& value) {
    const std::string text = Coder<std::string>::decode(value);
    if (auto capability = OrvelProtocol::capability(text))
        return *capability;
    throw DecodingError("Cannot initialize Capability from invalid String value " + text);
}

} // namespace orvel::json
