#pragma once
// Enumerations stored as their raw value texts: lookup by exact match and strict decoding. An
// enumeration takes part through a `rawValue(Enum)` function found by argument-dependent lookup.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/Json.h"

namespace orvel {

// The case whose raw value is exactly `raw` (case-sensitive); nothing for any other text.
template <class Enum, std::size_t N>
std::optional<Enum> fromRawValue(std::string_view raw, const std::array<Enum, N>& cases) {
    for (Enum value : cases)
        if (rawValue(value) == raw)
            return value;
    return std::nullopt;
}

// A JSON string naming one of `cases`; anything else fails with a data error naming `typeName`.
template <class Enum, std::size_t N>
Enum decodeRawValue(const json::Json& value, const std::array<Enum, N>& cases, const char* typeName) {
    const std::string raw = json::decode<std::string>(value);
    if (auto decoded = fromRawValue(raw, cases))
        return *decoded;
    throw json::DecodingError(std::string("Cannot initialize ") + typeName + " from invalid String value " +
                              raw);
}

} // namespace orvel
