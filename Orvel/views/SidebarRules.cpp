#include "Orvel/views/SidebarRules.h"

#include "Orvel/views/CountFormat.h"
#include "Orvel/views/TextKeys.h"

namespace orvel {

std::optional<QString> appBadge(const std::map<std::string, int>& pending, const std::string& app,
                                bool expanded) {
    if (expanded)
        return std::nullopt;
    const auto found = pending.find(app);
    if (found == pending.end() || found->second < 1)
        return std::nullopt;
    return formatCount(found->second);
}

std::optional<QString> filterBadge(WorkspaceFilter filter, std::optional<int> count) {
    if (!count || (filter != WorkspaceFilter::all && *count <= 0))
        return std::nullopt;
    return formatCount(*count);
}

QString filterTitle(WorkspaceFilter filter) {
    switch (filter) {
    case WorkspaceFilter::all:
        return localized("All");
    case WorkspaceFilter::untranslated:
        return localized("Untranslated");
    case WorkspaceFilter::changed:
        return localized("Changed");
    case WorkspaceFilter::problems:
        return localized("Problems");
    case WorkspaceFilter::edited:
        return localized("Edited");
    }
    return {};
}

QString appsSectionTitle() {
    return localized("Apps");
}

QString noAppsTitle() {
    return localized("No translatable apps");
}

QString appsHelpTitle() {
    return localized("Apps that work with Orvel");
}

QUrl appsHelpAddress() {
    return QUrl(QStringLiteral("https://orvel.app/apps/"));
}

} // namespace orvel
