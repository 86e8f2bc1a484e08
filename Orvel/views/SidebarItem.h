#pragma once
// What the sidebar can highlight: an app (no filter: its own row) or one of its filter rows.

#include "Orvel/state/WorkspaceFilter.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace orvel {

struct SidebarItem {
    // The app's bundle identifier.
    std::string app;
    std::optional<WorkspaceFilter> filter;

    bool operator==(const SidebarItem&) const = default;
};

} // namespace orvel

// Feeds the app, then a marker byte 0 without a filter, or 1 followed by the filter's raw text.
template <> struct std::hash<orvel::SidebarItem> {
    std::size_t operator()(const orvel::SidebarItem& item) const noexcept;
};
