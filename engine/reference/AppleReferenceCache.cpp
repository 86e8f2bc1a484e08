// The cache of the Apple reference: one JSON file per language and system version.

#include "core/CachesFolder.h"
#include "core/Characters.h"
#include "core/FileIO.h"
#include "core/PathComponent.h"
#include "core/StringsFiles.h"
#include "core/Unicode.h"
#include "engine/reference/AppleReference.h"
#include "engine/reference/SystemLocalizations.h"

namespace orvel {
namespace {

// Changes whenever the file's form changes, so that old files are simply no longer found.
constexpr std::string_view formatVersion = "v2";

std::string lettersAndDigits(std::string_view text) {
    std::string kept;
    for (std::string_view character : text::graphemes(text))
        if (text::isLetter(character) || text::isDigit(character))
            kept.append(character);
    return kept;
}

std::optional<AppleReference::Table> readCache(const std::filesystem::path& file) {
    const auto bytes = FileIO::readIfPresent(file);
    if (!bytes)
        return std::nullopt;
    try {
        const json::Json object = json::parse(*bytes);
        if (!object.is_object())
            return std::nullopt;
        AppleReference::Table table;
        for (const auto& [english, entries] : object.items())
            table.emplace(english, json::decode<std::vector<AppleReference::Entry>>(entries));
        return table;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void writeCache(const AppleReference::Table& table, const std::filesystem::path& file) {
    json::Json object = json::Json::object();
    for (const auto& [english, entries] : table)
        object[english] = json::encode(entries);
    try {
        StringsFiles::writeAtomically(json::dump(object), file);
    } catch (const std::exception&) {
        // The built table still serves this call; the next one builds again.
    }
}

} // namespace

std::optional<std::filesystem::path> AppleReference::cacheURL(std::string_view language) {
    // A code that would lead the cache file out of its folder names no language of the system.
    if (!isSafePathComponent(language))
        return std::nullopt;
    const auto version = SystemLocalizations::operatingSystemVersionString();
    if (!version)
        return std::nullopt;
    const std::string name =
        std::string(formatVersion) + "-" + std::string(language) + "-" + lettersAndDigits(*version) + ".json";
    return CachesFolder::path() / "Orvel" / "macos-reference" / name;
}

std::optional<AppleReference> AppleReference::load(std::string_view language) {
    const auto code = normalizedLanguage(language);
    if (!code)
        return std::nullopt;
    const auto file = cacheURL(*code);
    if (!file)
        return std::nullopt;
    if (auto cached = readCache(*file))
        return AppleReference(std::string(language), std::move(*cached));
    Table table = build(*code);
    if (table.empty())
        return std::nullopt;
    writeCache(table, *file);
    return AppleReference(std::string(language), std::move(table));
}

} // namespace orvel
