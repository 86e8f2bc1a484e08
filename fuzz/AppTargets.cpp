// Readers of what a target app ships and writes: its Info.plist, its code signature's entitlements and
// the files of its data folder.

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/OrvelProtocol.h"
#include "engine/apps/AppBundle.h"
#include "engine/apps/AppNotes.h"
#include "engine/apps/CodeSignature.h"
#include "engine/apps/ProjectReader.h"
#include "engine/apps/TranslationProject.h"
#include "engine/capture/ContextMap.h"
#include "fuzz/FuzzTarget.h"

namespace orvel::fuzz {
namespace {

namespace fs = std::filesystem;

// A bundle whose Info.plist is a link to the memory file, made once per process.
const fs::path& bundle() {
    static const fs::path app = [] {
        const fs::path folder = scratchFolder("orvel-fuzz") / "Fuzz.app";
        fs::create_directories(folder / "Contents" / "Resources");
        fs::create_symlink(MemoryFile::shared().holding(""), folder / "Contents" / "Info.plist");
        return folder;
    }();
    return app;
}

void infoPlist(std::string_view bytes) {
    const fs::path& app = bundle();
    MemoryFile::shared().holding(bytes);
    const auto opened = AppBundle::open(app);
    require(opened.has_value(), "a bundle folder opens whatever its Info.plist holds");
    opened->bundleIdentifier();
    opened->developmentLocalization();
    opened->string("CFBundleDisplayName");
    if (auto executable = opened->executableURL())
        require(executable->parent_path() == app / "Contents" / "MacOS",
                "the executable stays in its folder");
    if (auto icon = opened->iconURL())
        require(icon->parent_path() == app / "Contents" / "Resources", "the icon stays in its folder");
}

void entitlements(std::string_view bytes) {
    if (auto found = CodeSignature::entitlements(MemoryFile::shared().holding(bytes)))
        require(found->is_object(), "entitlements are a dictionary");
}

template <class T> void dataFile(std::string_view bytes) {
    try {
        OrvelProtocol::encode(OrvelProtocol::decode<T>(bytes));
    } catch (const json::DecodingError&) {
    }
}

void project(std::string_view bytes) {
    std::optional<TranslationProject> strict;
    try {
        strict = OrvelProtocol::decode<TranslationProject>(bytes);
    } catch (const json::DecodingError&) {
    }
    const std::optional<TranslationProject> quick = ProjectReader::quickDecode(bytes);
    require(strict || !quick, "the quick reading takes only what the strict decoding takes");
    if (!strict)
        return;
    const std::string text = strict->encoded();
    require(!quick || quick->encoded() == text, "the quick reading gives the strict project");
    require(text == OrvelProtocol::encode(*strict), "the project is written as the shared encoder writes it");
}

void contextMap(std::string_view bytes) {
    try {
        ContextMap map = OrvelProtocol::decode<ContextMap>(bytes);
        for (const auto& [id, occurrences] : map.occurrences)
            map.summary(id);
        map.merge(map);
        OrvelProtocol::encode(map);
    } catch (const json::DecodingError&) {
    }
}

} // namespace

std::vector<NamedTarget> appTargets() {
    return {{"infoplist", infoPlist},
            {"entitlements", entitlements},
            {"project", project},
            {"notes", dataFile<AppNotes>},
            {"context", contextMap}};
}

} // namespace orvel::fuzz
