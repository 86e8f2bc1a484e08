#pragma once
// Reading XML and binary property lists (Info.plist, ".stringsdict", entitlements) as JSON values.

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/Json.h"

namespace orvel::PropertyList {

// Dictionaries become objects, arrays arrays; strings, Booleans, integers and reals keep their types.
// Dates and data have no JSON counterpart and read as null. Keys and strings are valid UTF-8.
// Returns nothing for anything that is not a well-formed XML or binary property list.
std::optional<json::Json> parse(std::string_view bytes);

// Reads and parses a file; nothing when it cannot be read or parsed.
std::optional<json::Json> readFile(const std::filesystem::path& path);

} // namespace orvel::PropertyList
