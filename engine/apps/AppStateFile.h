#pragma once
// The "state.json" that the companion inside a running target app publishes in the app's data folder.
// That app controls the folder, so the file is read as every file of it is: no link on the way to it or
// at its own name, a regular file within the size cap.

#include <filesystem>
#include <optional>

#include "core/AppState.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel::AppStateFile {

std::filesystem::path url(const TranslatableApp& app);

// The state the app last published; nothing when it cannot be read safely or decoded.
std::optional<AppState> read(const TranslatableApp& app);

} // namespace orvel::AppStateFile
