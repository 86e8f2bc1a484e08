#include "Orvel/views/PlatformServices.h"

#include "engine/apps/AppBundle.h"

namespace orvel {

std::optional<LaunchCommand> launchCommand(const std::filesystem::path& bundleURL) {
    const std::optional<AppBundle> bundle = AppBundle::open(bundleURL);
    if (!bundle)
        return std::nullopt;
    const std::optional<std::filesystem::path> executable = bundle->executableURL();
    if (!executable)
        return std::nullopt;
    return LaunchCommand{QString::fromStdString(executable->string()), {}};
}

} // namespace orvel
