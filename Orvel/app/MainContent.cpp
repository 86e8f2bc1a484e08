#include "Orvel/app/MainContent.h"

#include "Orvel/app/StringsScreen.h"
#include "Orvel/views/ContentView.h"

namespace orvel {

QWidget* makeMainContent(Library& library, ModelPreferences& preferences, PlatformServices& platform,
                         std::function<void()> openSettings, UrlOpener openUrl) {
    return new ContentView(
        library, std::move(openUrl), nullptr,
        [&preferences, &platform, openSettings = std::move(openSettings)](Workspace& workspace) {
            return makeStringsScreen(workspace, preferences, platform, openSettings);
        });
}

} // namespace orvel
