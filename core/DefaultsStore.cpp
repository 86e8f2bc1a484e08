#include "core/DefaultsStore.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>

#include "core/FileIO.h"
#include "core/Json.h"
#include "core/OrvelPaths.h"
#include "core/PathComponent.h"
#include "core/StringsFiles.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

std::mutex overrideMutex;
std::optional<fs::path> folderOverride;

// Read-modify-write of any settings file; one lock keeps two writers of the same domain from losing
// each other's change.
std::mutex writeMutex;

enum class FileState { missing, readable, unreadable };

struct Contents {
    FileState state = FileState::missing;
    json::Json object = json::Json::object();
};

Contents readContents(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(file, error)))
        return {};
    auto bytes = FileIO::readIfPresent(file);
    if (!bytes)
        return {FileState::unreadable, json::Json::object()};
    try {
        auto object = json::parseWithinNesting(*bytes);
        if (object.is_object())
            return {FileState::readable, std::move(object)};
    } catch (const std::exception&) {
    }
    return {FileState::unreadable, json::Json::object()};
}

std::optional<DefaultsStore::Value> valueOf(const json::Json& entry) {
    if (entry.is_boolean())
        return entry.get<bool>();
    if (entry.is_number_unsigned() && entry.get<std::uint64_t>() > std::uint64_t(INT64_MAX))
        return std::nullopt;
    if (entry.is_number_integer())
        return entry.get<std::int64_t>();
    if (entry.is_string())
        return entry.get<std::string>();
    return std::nullopt;
}

json::Json jsonOf(const DefaultsStore::Value& value) {
    return std::visit([](const auto& held) { return json::Json(held); }, value);
}

template <class Edit> void rewrite(const fs::path& file, Edit&& edit) {
    std::lock_guard lock(writeMutex);
    Contents contents = readContents(file);
    if (contents.state == FileState::unreadable)
        throw DefaultsStore::UnreadableFileError("The settings file " + file.string() +
                                                 " cannot be read, so it was left unchanged.");
    if (!edit(contents.object))
        return;
    StringsFiles::writeAtomically(json::dump(contents.object, 2) + "\n", file);
}

} // namespace

fs::path DefaultsStore::defaultFolder() {
    {
        std::lock_guard lock(overrideMutex);
        if (folderOverride)
            return *folderOverride;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && fs::path(config).is_absolute())
        return fs::path(config) / OrvelPaths::folderName;
    return OrvelPaths::home() / ".config" / OrvelPaths::folderName;
}

void DefaultsStore::setFolderOverride(std::optional<fs::path> folder) {
    std::lock_guard lock(overrideMutex);
    folderOverride = std::move(folder);
}

std::optional<DefaultsStore> DefaultsStore::open(std::string_view domain, const fs::path& folder) {
    if (!isSafePathComponent(domain))
        return std::nullopt;
    return DefaultsStore(std::string(domain), folder);
}

fs::path DefaultsStore::fileURL() const {
    return m_folder / (m_domain + ".json");
}

std::optional<DefaultsStore::Value> DefaultsStore::value(std::string_view key) const {
    const Contents contents = readContents(fileURL());
    auto entry = contents.object.find(std::string(key));
    if (entry == contents.object.end())
        return std::nullopt;
    return valueOf(*entry);
}

std::optional<bool> DefaultsStore::boolean(std::string_view key) const {
    auto found = value(key);
    if (found && std::holds_alternative<bool>(*found))
        return std::get<bool>(*found);
    return std::nullopt;
}

std::optional<std::int64_t> DefaultsStore::integer(std::string_view key) const {
    auto found = value(key);
    if (found && std::holds_alternative<std::int64_t>(*found))
        return std::get<std::int64_t>(*found);
    return std::nullopt;
}

std::optional<std::string> DefaultsStore::string(std::string_view key) const {
    auto found = value(key);
    if (found && std::holds_alternative<std::string>(*found))
        return std::get<std::string>(*found);
    return std::nullopt;
}

void DefaultsStore::set(std::string_view key, const Value& value) const {
    rewrite(fileURL(), [&](json::Json& object) {
        object[std::string(key)] = jsonOf(value);
        return true;
    });
}

void DefaultsStore::remove(std::string_view key) const {
    // Removing what is not there leaves the disk alone (no empty file appears for an untouched domain).
    rewrite(fileURL(), [&](json::Json& object) { return object.erase(std::string(key)) > 0; });
}

} // namespace orvel
