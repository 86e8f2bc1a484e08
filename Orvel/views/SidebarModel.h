#pragma once
// The sidebar's rows: one row per app of the library, in the library's order, each with its five
// filter rows beneath. The model also keeps which apps are shown expanded: an app's workspace is
// opened for its filter counts only while the app is expanded, and its pending badge shows only while
// it is collapsed.

#include "Orvel/views/SidebarItem.h"

#include "Orvel/state/Workspace.h"
#include <QAbstractItemModel>
#include <QIcon>

#include <QPointer>

#include <map>
#include <optional>
#include <set>
#include <string>

namespace orvel {

class Library;

class SidebarModel : public QAbstractItemModel {
    Q_OBJECT

  public:
    // The badge text of a row (a QString), absent for a row without a badge.
    static constexpr int badgeRole = Qt::UserRole + 1;
    static constexpr int iconPixels = 18;

    explicit SidebarModel(Library& library, QObject* parent = nullptr);
    ~SidebarModel() override;

    // The app ids shown expanded; ids of apps that left the list may stay and do nothing.
    const std::set<std::string>& expanded() const { return m_expanded; }
    bool isExpanded(const std::string& app) const { return m_expanded.contains(app); }
    void setExpanded(const std::string& app, bool expanded);

    // The item of a row, or none for an invalid index.
    std::optional<SidebarItem> item(const QModelIndex& index) const;
    // The row of an item; invalid when its app is not in the list.
    QModelIndex indexOf(const SidebarItem& item) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  signals:
    // An app was expanded or collapsed through setExpanded().
    void expansionChanged(const QString& app, bool expanded);

  private:
    QVariant appData(int row, int role) const;
    QVariant filterData(int appRow, int filterRow, int role) const;
    // The app's workspace, followed for its counts from the first time it is asked for.
    Workspace& workspace(int appRow) const;
    void countsChanged(const std::string& app);
    void appsChanged();
    void pendingChanged();
    void appRowChanged(int row);

    Library& m_library;
    std::set<std::string> m_expanded;
    // By bundle location: a moved app gets its icon again.
    mutable std::map<std::string, QIcon> m_icons;
    // By bundle identifier: the workspaces whose counts the rows follow.
    mutable std::map<std::string, QPointer<Workspace>> m_followed;
};

} // namespace orvel
