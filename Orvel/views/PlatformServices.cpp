#include "Orvel/views/PlatformServices.h"

#include "engine/apps/AppBundle.h"

namespace orvel {

namespace fs = std::filesystem;

std::variant<LaunchCommand, LaunchFailure> launchCommand(const fs::path& bundleURL) {
    const std::optional<AppBundle> bundle = AppBundle::open(bundleURL);
    if (!bundle)
        return LaunchFailure::noProgram;
    const std::optional<fs::path> executable = bundle->executableURL();
    if (!executable)
        return LaunchFailure::noProgram;
    std::error_code error;
    const fs::file_status status = fs::symlink_status(*executable, error);
    constexpr fs::perms runnable = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    if (error || !fs::is_regular_file(status) || (status.permissions() & runnable) == fs::perms::none)
        return LaunchFailure::programMissing;
    return LaunchCommand{QString::fromStdString(executable->string()), {}};
}

} // namespace orvel
