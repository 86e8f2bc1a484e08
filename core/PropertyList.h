#pragma once
// Reading XML and binary property lists (Info.plist, ".stringsdict", entitlements) as JSON values.

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/Json.h"
#include "core/PropertyListLimits.h"

namespace orvel::PropertyList {

// A parse's value, or why there is none.
struct Parsed {
    std::optional<json::Json> value;
    // The list was refused unparsed: it would expand beyond the limits.
    bool overLimits = false;
};

// Dictionaries become objects, arrays arrays; strings, Booleans, integers and reals keep their types.
// Dates and data have no JSON counterpart and read as null. Keys and strings are valid UTF-8.
// Gives no value for anything that is not a well-formed XML or binary property list, and for a list
// that would expand beyond the limits, which is measured before the parser is given it.
Parsed parseWithinLimits(std::string_view bytes, const PropertyListLimits& limits = {});

// The value of parseWithinLimits() with the default limits.
std::optional<json::Json> parse(std::string_view bytes);

// The root dictionary's string, Boolean, integer and real values, read without expanding its other
// values: what can still be read safely of a list that parse() refuses as over the limits. Nothing
// when the root is no dictionary or the list cannot be read.
std::optional<json::Json> topLevelScalars(std::string_view bytes, const PropertyListLimits& limits = {});

// Reads and parses a file; nothing when it cannot be read or parsed.
std::optional<json::Json> readFile(const std::filesystem::path& path);

} // namespace orvel::PropertyList
