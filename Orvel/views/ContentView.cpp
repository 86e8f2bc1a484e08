#include "Orvel/views/ContentView.h"

#include "Orvel/state/Library.h"
#include "Orvel/views/AppSidebar.h"
#include "Orvel/views/SidebarSelection.h"
#include "Orvel/views/TextKeys.h"
#include "Orvel/views/WorkspacePlaceholder.h"

#include <QHBoxLayout>
#include <QSplitter>
#include <QStackedWidget>

#include <algorithm>

namespace orvel {

ContentView::ContentView(Library& library, UrlOpener openUrl, QWidget* parent, DetailMaker makeDetail)
    : QWidget(parent), m_library(library), m_makeDetail(std::move(makeDetail)),
      m_splitter(new QSplitter(Qt::Horizontal, this)), m_sidebar(new AppSidebar(library, std::move(openUrl))),
      m_detailStack(new QStackedWidget), m_emptyDetail(new QWidget) {
    setObjectName(QStringLiteral("contentView"));
    m_splitter->setObjectName(QStringLiteral("contentSplitter"));
    m_detailStack->setObjectName(QStringLiteral("detailStack"));
    m_emptyDetail->setObjectName(QStringLiteral("emptyDetail"));

    m_sidebar->setMinimumWidth(sidebarMinimumWidth);
    m_detailStack->addWidget(m_emptyDetail);
    m_splitter->addWidget(m_sidebar);
    m_splitter->addWidget(m_detailStack);
    m_splitter->setCollapsible(0, false);
    m_splitter->setCollapsible(1, false);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({sidebarWidth, std::max(width() - sidebarWidth, 1)});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    connect(&library, &Library::selectionChanged, this, &ContentView::showDetail);
    connect(&library, &Library::appsChanged, this, &ContentView::showDetail);
    showDetail();
}

ContentView::~ContentView() = default;

void ContentView::showDetail() {
    const auto& chosen = m_library.selection();
    const TranslatableApp* app = chosen ? findApp(m_library.apps(), *chosen) : nullptr;
    if (app && m_detail && m_detailBundle == app->bundleURL)
        return;
    if (m_detail) {
        // Gone before the workspace below may replace the one it shows.
        delete m_detail;
        m_detail = nullptr;
        m_detailBundle.reset();
    }
    if (!app) {
        m_detailStack->setCurrentWidget(m_emptyDetail);
        showTitle();
        return;
    }
    m_detailBundle = app->bundleURL;
    Workspace& workspace = m_library.workspace(*app);
    m_detail = m_makeDetail ? m_makeDetail(workspace) : new WorkspacePlaceholder(workspace);
    connect(m_detail, &QWidget::windowTitleChanged, this, &ContentView::showTitle);
    m_detailStack->addWidget(m_detail);
    m_detailStack->setCurrentWidget(m_detail);
    showTitle();
}

std::vector<QWidget*> ContentView::keyboardParts() const {
    return {m_sidebar, m_detailStack->currentWidget()};
}

bool ContentView::focusNextPrevChild(bool next) {
    return moveFocusWithin(this, next) || QWidget::focusNextPrevChild(next);
}

void ContentView::showTitle() {
    const QString detailTitle = m_detail ? m_detail->windowTitle() : QString();
    setWindowTitle(detailTitle.isEmpty() ? localized("Orvel") : detailTitle);
}

} // namespace orvel
