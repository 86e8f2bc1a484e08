#include "engine/apps/AppDiscovery.h"

#include <algorithm>
#include <map>
#include <string>

#include "core/CaseFolding.h"
#include "core/OrvelPaths.h"
#include "core/Unicode.h"

namespace orvel::AppDiscovery {
namespace {

namespace fs = std::filesystem;

fs::path expandingTilde(std::string_view path) {
    if (path == "~")
        return OrvelPaths::home();
    if (path.starts_with("~/"))
        return OrvelPaths::home() / path.substr(2);
    return fs::path(path);
}

} // namespace

std::vector<fs::path> folders() {
    return {"/Applications", "/Applications/Setapp", OrvelPaths::home() / "Applications"};
}

std::vector<TranslatableApp> scan(const std::vector<fs::path>& folders, const AppPlatform& platform) {
    std::map<std::string, TranslatableApp> byIdentifier;
    for (const auto& folder : folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            if (it->path().extension() != ".app")
                continue;
            if (auto app = TranslatableApp::open(it->path(), platform))
                byIdentifier.try_emplace(app->bundleIdentifier, std::move(*app));
        }
    }
    // A running copy is the one the person works with, wherever it was launched from.
    for (const auto& bundle : platform.runningBundleURLs())
        if (auto app = TranslatableApp::open(bundle, platform))
            byIdentifier.insert_or_assign(app->bundleIdentifier, std::move(*app));

    std::vector<TranslatableApp> apps;
    apps.reserve(byIdentifier.size());
    for (auto& entry : byIdentifier)
        apps.push_back(std::move(entry.second));
    std::stable_sort(apps.begin(), apps.end(), [](const TranslatableApp& a, const TranslatableApp& b) {
        return text::localizedStandardLess(a.name, b.name);
    });
    return apps;
}

std::vector<TranslatableApp> scan() {
    return scan(folders());
}

std::optional<TranslatableApp> find(std::string_view query, const std::vector<fs::path>& folders,
                                    const AppPlatform& platform) {
    if (query.ends_with(".app") || query.find('/') != std::string_view::npos) {
        std::error_code error;
        const fs::path path = fs::absolute(expandingTilde(query), error);
        return error ? std::nullopt : TranslatableApp::open(path, platform);
    }
    const auto apps = scan(folders, platform);
    for (const auto& app : apps)
        if (app.bundleIdentifier == query)
            return app;
    for (const auto& app : apps)
        if (text::equalIgnoringCase(app.name, query))
            return app;
    return std::nullopt;
}

std::optional<TranslatableApp> find(std::string_view query) {
    return find(query, folders());
}

} // namespace orvel::AppDiscovery
