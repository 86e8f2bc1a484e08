#include "Orvel/views/LaunchFailureAlert.h"

#include "Orvel/views/TextKeys.h"

namespace orvel {

StringsAlert launchFailureAlert(LaunchFailure failure, const QString& appName,
                                const std::filesystem::path& bundleURL) {
    const QString title = localizedFormat("Couldn't open %@", {appName});
    const QString bundle = QString::fromStdString(bundleURL.string());
    switch (failure) {
    case LaunchFailure::noProgram:
        return {title,
                localizedFormat("Its bundle names no program to start (CFBundleExecutable in "
                                "Contents/Info.plist of %@). Start %@ yourself, then try again.",
                                {bundle, appName}),
                {}};
    case LaunchFailure::programMissing:
        return {title,
                localizedFormat("The program its bundle names is missing from Contents/MacOS of %@, or it "
                                "is not a file that can be run. Start %@ yourself, then try again.",
                                {bundle, appName}),
                {}};
    case LaunchFailure::notStarted:
        return {title,
                localizedFormat("The system did not start the program of %@. Start %@ yourself, then try "
                                "again.",
                                {bundle, appName}),
                {}};
    }
    return {title, {}, {}};
}

} // namespace orvel
