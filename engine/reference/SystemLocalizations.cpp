#include "engine/reference/SystemLocalizations.h"

#include <cstdlib>

#include <sys/utsname.h>

#include "core/Locked.h"

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

std::string operatingSystemVersionString() {
    if (auto version = versionOverride().get())
        return *version;
    utsname names{};
    if (uname(&names) != 0)
        return "Version unknown";
    return std::string("Version ") + names.release + " (Build " + names.version + ")";
}

void setVersionOverride(std::optional<std::string> version) {
    versionOverride().set(std::move(version));
}

} // namespace orvel::SystemLocalizations
