#pragma once
// Finding the translatable apps on this machine.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/apps/AppPlatform.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel::AppDiscovery {

// "/Applications", "/Applications/Setapp" and "Applications" in the user's real home folder, in this
// order.
std::vector<std::filesystem::path> folders();

// The translatable apps of the top level of `folders` (the first bundle found for an identifier wins)
// with the bundles of running applications taking the place of the copies found there, sorted by name
// in the Finder's order. Reads every catalog in the worst case: never call it on the UI thread.
std::vector<TranslatableApp> scan(const std::vector<std::filesystem::path>& folders,
                                  const AppPlatform& platform = AppPlatform::system());
std::vector<TranslatableApp> scan();

// The app a person names: a query ending in ".app" or holding "/" is a path ("~" expanded, relative to the
// current folder) and is never matched by name; otherwise the first scanned app whose identifier equals
// the query, else the first whose name equals it ignoring case.
std::optional<TranslatableApp> find(std::string_view query, const std::vector<std::filesystem::path>& folders,
                                    const AppPlatform& platform = AppPlatform::system());
std::optional<TranslatableApp> find(std::string_view query);

} // namespace orvel::AppDiscovery
