#include "Orvel/views/SidebarSelection.h"

#include "Orvel/state/Library.h"

#include <algorithm>

namespace orvel {

const TranslatableApp* findApp(const std::vector<TranslatableApp>& apps, std::string_view id) {
    const auto found = std::find_if(apps.begin(), apps.end(),
                                    [id](const TranslatableApp& app) { return app.bundleIdentifier == id; });
    return found == apps.end() ? nullptr : &*found;
}

std::optional<SidebarItem> sidebarSelection(Library& library) {
    const std::optional<std::string>& chosen = library.selection();
    if (!chosen || chosen->empty())
        return std::nullopt;
    const TranslatableApp* app = findApp(library.apps(), *chosen);
    if (!app)
        return std::nullopt;
    return SidebarItem{*chosen, library.workspace(*app).filter()};
}

std::optional<std::string> chooseSidebarItem(Library& library, const std::optional<SidebarItem>& item) {
    if (!item)
        return std::nullopt;
    const TranslatableApp* app = findApp(library.apps(), item->app);
    if (!app)
        return std::nullopt;
    // A copy: the selection's observers run before the workspace is fetched.
    const TranslatableApp chosen = *app;
    library.setSelection(chosen.bundleIdentifier);
    Workspace& workspace = library.workspace(chosen);
    const WorkspaceFilter wanted = item->filter.value_or(WorkspaceFilter::all);
    if (workspace.filter() != wanted)
        workspace.setFilter(wanted);
    return chosen.bundleIdentifier;
}

} // namespace orvel
