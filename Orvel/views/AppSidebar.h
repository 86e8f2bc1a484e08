#pragma once
// The sidebar of the main window: the "Apps" section with one expandable row per translatable app and
// its five filter rows, or, while no app is known, the empty state. The highlighted row is never kept
// here: it is read from the library's chosen app and that app's filter whenever either changes, and
// a click writes both (a click on an app row chooses the app on all its strings and expands it).

#include "Orvel/views/SidebarModel.h"
#include "Orvel/views/UrlOpener.h"

#include "Orvel/state/Workspace.h"

#include <QPointer>
#include <QWidget>

class QItemSelection;
class QLabel;
class QTreeView;

namespace orvel {

class Library;
class SidebarEmptyState;

class AppSidebar : public QWidget {
    Q_OBJECT
  public:
    AppSidebar(Library& library, UrlOpener openUrl, QWidget* parent = nullptr);
    ~AppSidebar() override;

    SidebarModel& model() { return m_model; }
    QTreeView* list() const { return m_list; }
    SidebarEmptyState* emptyState() const { return m_emptyState; }

  private:
    void selectionChanged();
    void listChanged();
    // Highlights the row of the computed selection, and follows the chosen workspace's filter.
    void showSelection();
    void userSelected(const QItemSelection& selected);
    void showExpansion(const QString& app, bool expanded);

    Library& m_library;
    SidebarModel m_model;
    QLabel* m_header;
    QTreeView* m_list;
    SidebarEmptyState* m_emptyState;
    // The workspace whose filter decides the highlighted row.
    QPointer<Workspace> m_shownWorkspace;
    // Set while the list's selection is changed to show the state, so the change is not taken as a click.
    bool m_showing = false;
};

} // namespace orvel
