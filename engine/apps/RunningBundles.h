#pragma once
// The application bundles that running processes were started from: a process whose executable lies
// inside "X.app/Contents/MacOS/" runs from the bundle X.app.

#include <filesystem>
#include <optional>
#include <vector>

#include "engine/apps/RunningApplication.h"

namespace orvel::RunningBundles {

// The bundle of every running process that has one, ordered by process start time, then process id.
// `processRoot` is the proc file system; processes that cannot be inspected are left out.
std::vector<std::filesystem::path> list(const std::filesystem::path& processRoot = "/proc");

// The same processes with their ids, in the same order.
std::vector<RunningApplication> applications(const std::filesystem::path& processRoot = "/proc");

// The innermost ".app" folder whose "Contents/MacOS/" holds `executable`; nothing when there is none.
std::optional<std::filesystem::path> enclosingBundle(const std::filesystem::path& executable);

} // namespace orvel::RunningBundles
