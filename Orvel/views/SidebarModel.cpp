#include "Orvel/views/SidebarModel.h"

#include "Orvel/state/Library.h"
#include "Orvel/views/AppIcon.h"
#include "Orvel/views/SidebarRules.h"
#include "Orvel/views/SidebarSelection.h"

namespace orvel {

namespace {

// An app row has the internal id 0; a filter row the row of its app plus one.
constexpr quintptr kAppRow = 0;
constexpr int kFilterRows = static_cast<int>(allFilters.size());

} // namespace

SidebarModel::SidebarModel(Library& library, QObject* parent)
    : QAbstractItemModel(parent), m_library(library) {
    connect(&library, &Library::appsChanged, this, &SidebarModel::appsChanged);
    connect(&library, &Library::pendingChanged, this, &SidebarModel::pendingChanged);
}

SidebarModel::~SidebarModel() = default;

void SidebarModel::setExpanded(const std::string& app, bool expanded) {
    if (expanded == isExpanded(app))
        return;
    if (expanded)
        m_expanded.insert(app);
    else
        m_expanded.erase(app);
    if (const QModelIndex row = indexOf(SidebarItem{app, std::nullopt}); row.isValid()) {
        appRowChanged(row.row());
        countsChanged(app);
    }
    emit expansionChanged(QString::fromStdString(app), expanded);
}

std::optional<SidebarItem> SidebarModel::item(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return std::nullopt;
    if (index.internalId() == kAppRow)
        return SidebarItem{m_library.apps()[static_cast<std::size_t>(index.row())].bundleIdentifier,
                           std::nullopt};
    const auto& app = m_library.apps()[index.internalId() - 1];
    return SidebarItem{app.bundleIdentifier, allFilters[static_cast<std::size_t>(index.row())]};
}

QModelIndex SidebarModel::indexOf(const SidebarItem& item) const {
    const auto& apps = m_library.apps();
    const TranslatableApp* app = findApp(apps, item.app);
    if (!app)
        return {};
    const int appRow = static_cast<int>(app - apps.data());
    if (!item.filter)
        return createIndex(appRow, 0, kAppRow);
    const int filterRow = static_cast<int>(*item.filter);
    return createIndex(filterRow, 0, static_cast<quintptr>(appRow) + 1);
}

QModelIndex SidebarModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, 0, kAppRow);
    return createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex SidebarModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kAppRow)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kAppRow);
}

int SidebarModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return static_cast<int>(m_library.apps().size());
    // Filter rows have no rows of their own; an app always has its five, with or without a workspace.
    return parent.internalId() == kAppRow && parent.column() == 0 ? kFilterRows : 0;
}

int SidebarModel::columnCount(const QModelIndex&) const {
    return 1;
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.internalId() != kAppRow)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this)
        return {};
    if (index.internalId() == kAppRow)
        return appData(index.row(), role);
    return filterData(static_cast<int>(index.internalId() - 1), index.row(), role);
}

QVariant SidebarModel::appData(int row, int role) const {
    const TranslatableApp& app = m_library.apps()[static_cast<std::size_t>(row)];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(app.name);
    case Qt::DecorationRole: {
        const std::string location = app.bundleURL.string();
        auto found = m_icons.find(location);
        if (found == m_icons.end())
            found = m_icons.emplace(location, appIcon(app, iconPixels)).first;
        return found->second;
    }
    case badgeRole:
        if (auto badge =
                appBadge(m_library.pending(), app.bundleIdentifier, isExpanded(app.bundleIdentifier)))
            return *badge;
        return {};
    default:
        return {};
    }
}

QVariant SidebarModel::filterData(int appRow, int filterRow, int role) const {
    const WorkspaceFilter filter = allFilters[static_cast<std::size_t>(filterRow)];
    switch (role) {
    case Qt::DisplayRole:
        return filterTitle(filter);
    case badgeRole: {
        // A collapsed app's rows are not shown; they never open its workspace.
        if (!isExpanded(m_library.apps()[static_cast<std::size_t>(appRow)].bundleIdentifier))
            return {};
        if (auto badge = filterBadge(filter, workspace(appRow).count(filter)))
            return *badge;
        return {};
    }
    default:
        return {};
    }
}

Workspace& SidebarModel::workspace(int appRow) const {
    const TranslatableApp& app = m_library.apps()[static_cast<std::size_t>(appRow)];
    Workspace& workspace = m_library.workspace(app);
    QPointer<Workspace>& followed = m_followed[app.bundleIdentifier];
    if (followed != &workspace) {
        if (followed)
            followed->disconnect(this);
        followed = &workspace;
        const std::string id = app.bundleIdentifier;
        // A reading opens the workspace, so a reading starts following it: the model's own bookkeeping.
        auto* self = const_cast<SidebarModel*>(this);
        connect(&workspace, &Workspace::stringListChanged, self, [self, id] { self->countsChanged(id); });
    }
    return workspace;
}

void SidebarModel::countsChanged(const std::string& app) {
    const QModelIndex appIndex = indexOf(SidebarItem{app, std::nullopt});
    if (!appIndex.isValid())
        return;
    emit dataChanged(index(0, 0, appIndex), index(kFilterRows - 1, 0, appIndex), {badgeRole});
}

void SidebarModel::appsChanged() {
    beginResetModel();
    endResetModel();
}

void SidebarModel::pendingChanged() {
    const int apps = rowCount();
    if (apps > 0)
        emit dataChanged(index(0, 0), index(apps - 1, 0), {badgeRole});
}

void SidebarModel::appRowChanged(int row) {
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed, {badgeRole});
}

} // namespace orvel
