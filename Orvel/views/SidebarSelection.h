#pragma once
// The sidebar's selection is not stored by the sidebar: it is read from the library's chosen app and
// that app's workspace filter, and a choice in the sidebar is written back to both.

#include "Orvel/views/SidebarItem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

class Library;
struct TranslatableApp;

// The first app of `apps` with the bundle identifier `id`, or null.
const TranslatableApp* findApp(const std::vector<TranslatableApp>& apps, std::string_view id);

// The chosen app with its workspace's current filter; none without a choice or when the chosen app is
// not in the list. Reading opens the chosen app's workspace.
std::optional<SidebarItem> sidebarSelection(Library& library);

// Chooses the item's app and its filter (all for the app row itself). Returns the app to show
// expanded, or none when nothing was chosen (no item, or an app not in the list).
std::optional<std::string> chooseSidebarItem(Library& library, const std::optional<SidebarItem>& item);

} // namespace orvel
