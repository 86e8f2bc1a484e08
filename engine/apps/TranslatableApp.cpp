#include "engine/apps/TranslatableApp.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "core/ConcurrentMap.h"
#include "core/FileIO.h"
#include "core/NoLinks.h"
#include "core/OrvelPaths.h"
#include "core/OrvelProtocol.h"
#include "core/PathComponent.h"
#include "core/StringCatalog.h"
#include "core/Unicode.h"
#include "engine/apps/AppBundle.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// Equal records need equal paths: "X.app/" and "./X.app" name the same bundle as "X.app".
fs::path normalisedBundleURL(const fs::path& url) {
    fs::path normal = url.lexically_normal();
    if (!normal.has_filename() && normal.has_parent_path())
        normal = normal.parent_path();
    return normal;
}

std::vector<fs::path> catalogsIn(const fs::path& folder) {
    std::vector<fs::path> catalogs;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".xcstrings")
            catalogs.push_back(it->path());
    std::sort(catalogs.begin(), catalogs.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().string() < b.filename().string();
    });
    return catalogs;
}

// The source language of the first catalog that reads and decodes.
std::optional<std::string> catalogSourceLanguage(const fs::path& catalog) {
    try {
        return StringCatalog::load(catalog, StringCatalog::Languages::source).sourceLanguage;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string firstSourceLanguage(const std::vector<fs::path>& catalogs, const AppBundle& bundle) {
    for (const auto& catalog : catalogs)
        if (auto language = catalogSourceLanguage(catalog))
            return *language;
    return bundle.developmentLocalization().value_or("en");
}

std::optional<AppManifest> readManifest(const fs::path& folder) {
    auto bytes = FileIO::readIfPresent(folder / OrvelProtocol::manifestFile);
    if (!bytes)
        return std::nullopt;
    try {
        return OrvelProtocol::decode<AppManifest>(*bytes);
    } catch (const json::DecodingError&) {
        return std::nullopt;
    }
}

std::optional<std::string> readContext(const fs::path& folder) {
    auto bytes = FileIO::readIfPresent(folder / OrvelProtocol::contextFile);
    if (!bytes || !text::isValidUtf8(*bytes))
        return std::nullopt;
    return bytes;
}

std::string displayName(const AppBundle& bundle) {
    if (auto name = bundle.string("CFBundleDisplayName"))
        return *name;
    if (auto name = bundle.string("CFBundleName"))
        return *name;
    return bundle.url().stem().string();
}

std::optional<std::string> displayVersion(const AppBundle& bundle) {
    if (!bundle.hasInfoDictionary())
        return std::nullopt;
    auto shortVersion = bundle.string("CFBundleShortVersionString");
    auto build = bundle.string("CFBundleVersion");
    if (shortVersion && build && *shortVersion != *build)
        return *shortVersion + " (" + *build + ")";
    return shortVersion ? shortVersion : build;
}

// How many catalogs are read at once: enough to use a few cores, few enough that the decoded catalogs
// held at once stay small beside the strings kept.
constexpr int catalogReaders = 4;

// The Info property list's strings are the system's business, never offered for translation.
constexpr std::string_view infoPlistTable = "InfoPlist";

std::vector<SourceString> catalogStrings(const fs::path& catalog) {
    const std::string table = catalog.stem().string();
    if (table == infoPlistTable)
        return {};
    try {
        return SourceString::extract(StringCatalog::load(catalog, StringCatalog::Languages::source), table);
    } catch (const std::exception&) {
        return {};
    }
}

// Discovered strings: a running app reports every lookup, images included, so a key that names an
// image of the bundle is not a text. A key with a space is never an image name.
std::vector<SourceString> discoveredStrings(const fs::path& bundleURL,
                                            const std::vector<std::vector<std::string>>& seen) {
    std::vector<SourceString> strings;
    if (seen.empty())
        return strings;
    const auto bundle = AppBundle::open(bundleURL);
    const std::set<std::string> images = bundle ? bundle->imageNames() : std::set<std::string>{};
    for (const auto& pair : seen) {
        if (pair.size() != 2 || pair[0] == infoPlistTable)
            continue;
        const std::string& key = pair[1];
        if (key.find(' ') == std::string::npos && images.contains(AppBundle::imageNameKey(key)))
            continue;
        strings.push_back(SourceString{pair[0], key, key, std::nullopt, std::nullopt, true, true});
    }
    return strings;
}

} // namespace

std::vector<SourceString>
TranslatableApp::loadStrings(const std::vector<std::vector<std::string>>& seen) const {
    std::vector<SourceString> result;
    std::unordered_set<std::string> ids;
    // The first string of an id wins: a catalog string is never also listed as discovered, even when the
    // running app reports its key in the other Unicode form.
    const auto append = [&](std::vector<SourceString>&& strings) {
        for (auto& string : strings)
            if (ids.insert(text::nfc(string.id())).second)
                result.push_back(std::move(string));
    };
    // Catalogs are read side by side: an app with tens of megabytes of them opens in a fraction of the
    // time. Their strings are taken in catalog order all the same.
    std::vector<std::vector<SourceString>> catalogs;
    try {
        catalogs =
            concurrentMap(catalogURLs, catalogReaders, [](const fs::path& catalog, const std::stop_token&) {
                return catalogStrings(catalog);
            });
    } catch (const std::exception&) {
        // No thread to be had: one after the other.
        catalogs.clear();
        for (const auto& catalog : catalogURLs)
            catalogs.push_back(catalogStrings(catalog));
    }
    std::size_t count = 0;
    for (const auto& strings : catalogs)
        count += strings.size();
    result.reserve(count);
    ids.reserve(count);
    for (auto& strings : catalogs)
        append(std::move(strings));
    append(discoveredStrings(bundleURL, seen));
    return result;
}

std::optional<TranslatableApp> TranslatableApp::open(const fs::path& bundleURL, const AppPlatform& platform) {
    try {
        const fs::path url = normalisedBundleURL(bundleURL);
        auto bundle = AppBundle::open(url);
        if (!bundle)
            return std::nullopt;
        // The identifier names the app's data folder; one that is not a single path component would
        // read and write outside it.
        auto identifier = bundle->bundleIdentifier();
        if (!identifier || !isSafePathComponent(*identifier))
            return std::nullopt;
        const fs::path manifestFolder = OrvelPaths::manifestFolder(url);
        auto catalogs = catalogsIn(manifestFolder);
        if (catalogs.empty())
            return std::nullopt;

        TranslatableApp app;
        app.bundleURL = url;
        app.bundleIdentifier = std::move(*identifier);
        app.name = displayName(*bundle);
        app.sandboxed = platform.isSandboxed(url);
        app.sourceLanguage = firstSourceLanguage(catalogs, *bundle);
        app.catalogURLs = std::move(catalogs);
        app.manifest = readManifest(manifestFolder);
        app.contextText = readContext(manifestFolder);
        app.version = displayVersion(*bundle);
        return app;
    } catch (const std::exception&) {
        // Allocation failures or a file system refusing a path: the bundle counts as not translatable.
        return std::nullopt;
    }
}

bool TranslatableApp::isSandboxed(const fs::path& bundleURL) {
    return AppPlatform::system().isSandboxed(bundleURL);
}

fs::path TranslatableApp::dataFolder() const {
    return OrvelPaths::dataFolder(bundleIdentifier, sandboxed);
}

fs::path TranslatableApp::projectFolder() const {
    return dataFolder() / ".translator";
}

std::vector<std::string> TranslatableApp::overlayLanguages() const {
    try {
        const fs::path folder = dataFolder();
        requireNoLinks(folder);
        return OrvelPaths::languages(folder);
    } catch (const std::exception&) {
        return {};
    }
}

void TranslatableApp::requireNoLinks(const fs::path& path) const {
    NoLinks::require(OrvelPaths::appOwnedFolder(bundleIdentifier, sandboxed), path);
}

OpenFolder TranslatableApp::openWithoutLinks(const fs::path& path) const {
    return OpenFolder::openBelow(OrvelPaths::appOwnedFolder(bundleIdentifier, sandboxed), path, true);
}

bool TranslatableApp::hasNoLinks(const fs::path& path) const {
    try {
        requireNoLinks(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<fs::path> TranslatableApp::icon() const {
    auto bundle = AppBundle::open(bundleURL);
    return bundle ? bundle->iconURL() : std::nullopt;
}

} // namespace orvel
