#pragma once
// The background update queue's decisions, apart from the library that runs them: how many strings of
// each app need translating again after an app update, which projects to bring up to date, and the keys
// that keep one (app, language, version) from being tried twice.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <vector>

#include "Orvel/state/EngineFacade.h"
#include "Orvel/state/LoadedFiles.h"
#include "engine/apps/TranslatableApp.h"

namespace orvel::BackgroundUpdates {

// One project of one app: the strings it needs translated because the app's English changed.
struct Item {
    TranslatableApp app;
    std::string language;
    int count = 0;
};

// By project file, the counts of projects an open workspace holds as they were last written, taken
// instead of reading the file: at a large app's run's end the workspace has just compared its project, and
// a second copy decoded from the file would double what the process holds.
using KnownCounts = std::map<std::filesystem::path, LoadedFiles::Count>;

// For each app in order and each language with a project file in folder order, what its project needs
// translated against the app's current strings (with those the running app last saw). Projects that
// recorded no English and hold no translation are left out; zero counts are kept. Reads files: runs
// off the main thread, through `files`, so that what a workspace read since the files last changed is
// not read again. A stop request ends it early with what was measured so far; the projects of `known`
// are not read at all.
std::vector<Item> measure(const std::vector<TranslatableApp>& apps, const EngineFacade& engine,
                          LoadedFiles& files, const std::stop_token& stop = {},
                          const KnownCounts& known = {});

// Per bundle identifier, the sum of its items' counts (an app whose projects are all current has 0).
std::map<std::string, int> totals(const std::vector<Item>& items);

// The bundle identifier, the language and the app's version (empty when it has none), blank-separated.
std::string attemptKey(const Item& item);

// The language an open workspace of the app (by bundle identifier) shows, or nothing.
using ShownLanguage = std::function<std::optional<std::string>(const std::string& bundleIdentifier)>;

// Whether a workspace shows the item's project: such a project is the workspace's to update.
bool isShown(const Item& item, const ShownLanguage& shown);

// The items to update, in order: those with something to translate, not shown by a workspace and not
// tried before. The key of each item taken is added to `attempted` at once, whatever its update does.
std::vector<Item> queue(const std::vector<Item>& items, const ShownLanguage& shown,
                        std::set<std::string>& attempted);

} // namespace orvel::BackgroundUpdates
