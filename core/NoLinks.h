#pragma once
// A target app controls its data folder and could put a symbolic link in place of any folder of it, so
// that a write, a removal or a read meant for its data lands elsewhere in the user's files. Such paths
// are checked folder by folder and never followed.

#include <filesystem>

namespace orvel::NoLinks {

// Throws std::filesystem::filesystem_error when `root` or any existing folder or file between `root` and
// `path` (both included) is a symbolic link. Components that do not exist yet pass: they are created
// as real folders. `path` must lie inside `root`.
void require(const std::filesystem::path& root, const std::filesystem::path& path);

} // namespace orvel::NoLinks
