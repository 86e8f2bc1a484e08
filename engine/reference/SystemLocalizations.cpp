#include "engine/reference/SystemLocalizations.h"

#include <cstdint>
#include <cstdlib>

#include "core/Locked.h"
#include "core/PropertyList.h"

namespace orvel::SystemLocalizations {
namespace {

Locked<std::optional<std::filesystem::path>>& rootOverride() {
    static Locked<std::optional<std::filesystem::path>> value;
    return value;
}

Locked<std::optional<std::string>>& versionOverride() {
    static Locked<std::optional<std::string>> value;
    return value;
}

constexpr std::string_view versionFile = "System/Library/CoreServices/SystemVersion.plist";

std::optional<std::string> stringValue(const json::Json& dictionary, const char* key) {
    const auto found = dictionary.find(key);
    if (found == dictionary.end() || !found->is_string() || found->get_ref<const std::string&>().empty())
        return std::nullopt;
    return found->get<std::string>();
}

// As the system itself writes its version: "Version 15.1 (Build 24B83)".
std::optional<std::string> treeVersion(const std::filesystem::path& folder) {
    const auto plist = PropertyList::readFile(folder / versionFile);
    if (!plist || !plist->is_object())
        return std::nullopt;
    const auto version = stringValue(*plist, "ProductVersion");
    if (!version)
        return std::nullopt;
    const auto build = stringValue(*plist, "ProductBuildVersion");
    return "Version " + *version + (build ? " (Build " + *build + ")" : "");
}

// 64-bit FNV-1a in hexadecimal: a short, stable name for a path, which may hold any character.
std::string pathDigest(std::string_view path) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const unsigned char byte : path) {
        hash ^= byte;
        hash *= 0x100000001b3ULL;
    }
    static constexpr char digits[] = "0123456789abcdef";
    std::string hex(16, '0');
    for (std::size_t i = 16; i-- > 0; hash >>= 4)
        hex[i] = digits[hash & 0xF];
    return hex;
}

} // namespace

std::optional<std::filesystem::path> root() {
    if (auto folder = rootOverride().get())
        return folder;
    if (const char* value = std::getenv("ORVEL_SYSTEM_ROOT"); value && *value)
        return std::filesystem::path(value);
    return std::nullopt;
}

void setRootOverride(std::optional<std::filesystem::path> folder) {
    rootOverride().set(std::move(folder));
}

std::optional<std::string> operatingSystemVersionString() {
    if (auto version = versionOverride().get())
        return version;
    const auto folder = root();
    if (!folder)
        return std::nullopt;
    if (auto version = treeVersion(*folder))
        return version;
    return "Root " + pathDigest(std::filesystem::absolute(*folder).lexically_normal().string());
}

void setVersionOverride(std::optional<std::string> version) {
    versionOverride().set(std::move(version));
}

} // namespace orvel::SystemLocalizations
