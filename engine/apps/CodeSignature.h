#pragma once
// The entitlements that the code signature of a Mach-O executable (thin or universal) carries: the XML
// property list of the entitlements blob inside the embedded signature super-blob.

#include <filesystem>
#include <optional>

#include "core/Json.h"

namespace orvel::CodeSignature {

// The entitlements dictionary; nothing when the file is not a Mach-O binary, carries no signature, the
// signature holds no entitlements, or anything on the way is malformed. Every read is bounds-checked,
// so a hostile file cannot make it read outside the file. Of a universal binary, the first slice whose
// signature holds entitlements gives them.
std::optional<json::Json> entitlements(const std::filesystem::path& executable);

} // namespace orvel::CodeSignature
