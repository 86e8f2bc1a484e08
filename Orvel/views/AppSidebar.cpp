#include "Orvel/views/AppSidebar.h"

#include "Orvel/state/Library.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillFont.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/SidebarEmptyState.h"
#include "Orvel/views/SidebarRowDelegate.h"
#include "Orvel/views/SidebarRules.h"
#include "Orvel/views/SidebarSelection.h"

#include <QGridLayout>
#include <QLabel>
#include <QTreeView>

namespace orvel {

namespace {
constexpr int kHeaderPixels = 11;
} // namespace

AppSidebar::AppSidebar(Library& library, UrlOpener openUrl, QWidget* parent)
    : QWidget(parent), m_library(library), m_model(library), m_header(new QLabel(this)),
      m_list(new QTreeView(this)), m_emptyState(new SidebarEmptyState(std::move(openUrl), this)) {
    setObjectName(QStringLiteral("appSidebar"));
    // One panel from the section title down, in the list's colour.
    QPalette panel = palette();
    panel.setColor(QPalette::Window, panel.color(QPalette::Base));
    setPalette(panel);
    setAutoFillBackground(true);

    m_header->setObjectName(QStringLiteral("appsSectionHeader"));
    setPlainText(m_header, appsSectionTitle());
    m_header->setFont(systemFont(kHeaderPixels, QFont::Bold));
    QPalette headerPalette = m_header->palette();
    headerPalette.setColor(QPalette::WindowText, Palette::secondary());
    m_header->setPalette(headerPalette);
    m_header->setContentsMargins(10, 8, 10, 2);

    m_list->setObjectName(QStringLiteral("appList"));
    m_list->setModel(&m_model);
    m_list->setItemDelegate(new SidebarRowDelegate(m_list));
    m_list->setHeaderHidden(true);
    m_list->setIconSize(QSize(SidebarModel::iconPixels, SidebarModel::iconPixels));
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setExpandsOnDoubleClick(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setAllColumnsShowFocus(true);
    // Scrolling to a new current row would expand its app; apps expand only by choice or disclosure.
    m_list->setAutoScroll(false);

    // The empty state lies over the list, in the same cell.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header, 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addWidget(m_emptyState, 1, 0);
    layout->setRowStretch(1, 1);

    connect(m_list, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (const auto item = m_model.item(index); item && !item->filter)
            m_model.setExpanded(item->app, true);
    });
    connect(m_list, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (const auto item = m_model.item(index); item && !item->filter)
            m_model.setExpanded(item->app, false);
    });
    connect(&m_model, &SidebarModel::expansionChanged, this, &AppSidebar::showExpansion);
    connect(&m_model, &SidebarModel::modelReset, this, &AppSidebar::listChanged);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) { userSelected(selected); });
    connect(&library, &Library::selectionChanged, this, &AppSidebar::selectionChanged);

    listChanged();
    selectionChanged();
}

AppSidebar::~AppSidebar() = default;

void AppSidebar::selectionChanged() {
    // An app chosen elsewhere (a deep link, a choice restored at start) is shown with its filter rows.
    if (const auto& chosen = m_library.selection(); chosen && !chosen->empty())
        m_model.setExpanded(*chosen, true);
    showSelection();
}

void AppSidebar::listChanged() {
    m_emptyState->setVisible(m_library.apps().empty());
    for (const std::string& app : m_model.expanded())
        showExpansion(QString::fromStdString(app), true);
    showSelection();
}

void AppSidebar::showSelection() {
    const std::optional<SidebarItem> shown = sidebarSelection(m_library);
    Workspace* workspace = nullptr;
    if (shown)
        workspace = &m_library.workspace(*findApp(m_library.apps(), shown->app));
    if (workspace != m_shownWorkspace) {
        if (m_shownWorkspace)
            m_shownWorkspace->disconnect(this);
        m_shownWorkspace = workspace;
        if (workspace)
            connect(workspace, &Workspace::filterChanged, this, &AppSidebar::showSelection);
    }

    m_showing = true;
    const QModelIndex row = shown ? m_model.indexOf(*shown) : QModelIndex();
    if (row.isValid()) {
        m_list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        if (m_list->isExpanded(row.parent()))
            m_list->scrollTo(row);
    } else
        m_list->selectionModel()->clear();
    m_showing = false;
}

void AppSidebar::userSelected(const QItemSelection& selected) {
    if (m_showing)
        return;
    const QModelIndexList rows = selected.indexes();
    if (!rows.isEmpty()) {
        if (const auto app = chooseSidebarItem(m_library, m_model.item(rows.first())))
            m_model.setExpanded(*app, true);
    }
    // The highlight is the state's, whatever the list did: a click on an app row shows its "All" row.
    showSelection();
}

void AppSidebar::showExpansion(const QString& app, bool expanded) {
    const QModelIndex row = m_model.indexOf(SidebarItem{app.toStdString(), std::nullopt});
    if (row.isValid() && m_list->isExpanded(row) != expanded)
        m_list->setExpanded(row, expanded);
}

} // namespace orvel
