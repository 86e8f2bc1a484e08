#pragma once
// What the person is told when "Open <app>" cannot start the app: which app, and why.

#include "Orvel/views/PlatformServices.h"
#include "Orvel/views/StringsAlert.h"

#include <filesystem>

namespace orvel {

// The alert of `failure` for the app named `appName` whose bundle is at `bundleURL`; it has the one
// plain acknowledging button.
StringsAlert launchFailureAlert(LaunchFailure failure, const QString& appName,
                                const std::filesystem::path& bundleURL);

} // namespace orvel
