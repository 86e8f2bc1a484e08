#pragma once
// The files this process wrote last, by their stamps, so that a writer can tell whether a file is still
// the one it wrote or someone else has changed it since. Safe to use from any thread.

#include <filesystem>

namespace orvel::WrittenFiles {

// Records the file as it is now as this process's own last write.
void remember(const std::filesystem::path& path);

// Whether the file is still exactly as remember() found it; false for a file never recorded, one that
// is gone, and one that another program replaced or rewrote.
bool isUnchanged(const std::filesystem::path& path);

} // namespace orvel::WrittenFiles
