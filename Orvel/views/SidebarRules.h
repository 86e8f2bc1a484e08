#pragma once
// The sidebar's decisions that need no widget: which rows carry a badge and what it says, the texts of
// the filter rows and of the empty state.

#include "Orvel/state/WorkspaceFilter.h"

#include <QString>
#include <QUrl>

#include <map>
#include <optional>
#include <string>

namespace orvel {

// The badge of an app row: the app's pending count while the app is collapsed and the count is 1 or
// more; an expanded app, a count of 0 and an app missing from `pending` have none.
std::optional<QString> appBadge(const std::map<std::string, int>& pending, const std::string& app,
                                bool expanded);

// The badge of a filter row: none while the count is unknown; "All" shows any count, 0 included, the
// other rows only a count above 0.
std::optional<QString> filterBadge(WorkspaceFilter filter, std::optional<int> count);

// "All", "Untranslated", "Changed", "Problems", "Edited".
QString filterTitle(WorkspaceFilter filter);

// The section above the apps.
QString appsSectionTitle();

// The sidebar without any app: its title, the title of its help link and where the link goes.
QString noAppsTitle();
QString appsHelpTitle();
QUrl appsHelpAddress();

} // namespace orvel
