#include "Orvel/app/StringsScreen.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/ChecklistView.h"
#include "Orvel/views/ContextSheet.h"
#include "Orvel/views/StepsFooter.h"
#include "Orvel/views/StringInspector.h"
#include "Orvel/views/StringsView.h"

#include <QPointer>

namespace orvel {

QWidget* makeStringsScreen(Workspace& workspace, ModelPreferences& preferences, PlatformServices& platform,
                           std::function<void()> openSettings) {
    auto* screen = new StringsView(workspace, platform);
    QPointer<StringsView> guard(screen);
    const auto showContext = [guard] {
        if (guard)
            guard->setShowContext(true);
    };
    screen->setFooter(new StepsFooter(workspace, preferences, openSettings, showContext));
    screen->setChecklist(new ChecklistView(workspace, preferences, openSettings, showContext));
    screen->setInspector(new StringInspector(workspace));
    screen->setContextSheet([&workspace](QWidget* parent) { return new ContextSheet(workspace, parent); });
    screen->setLiveSwitch([&workspace](std::optional<std::string> language) { workspace.setLive(language); });
    return screen;
}

} // namespace orvel
