#pragma once
// The files this process wrote last, by their stamps, so that a writer can tell whether a file is still
// the one it wrote or someone else has changed it since. Safe to use from any thread.

#include <filesystem>

namespace orvel::WrittenFiles {

// Records the file as it is now as this process's own last write.
void remember(const std::filesystem::path& path);

// Drops the record: the file is no longer vouched for as this process's own, whatever its stamp. For a
// file whose reading failed, since a permission change or a read error leaves its stamp as it was.
void forget(const std::filesystem::path& path);

// Whether the file is still exactly as remember() found it; false for a file never recorded, one that
// is gone, and one that another program replaced or rewrote.
bool isUnchanged(const std::filesystem::path& path);

} // namespace orvel::WrittenFiles
