#include "Orvel/views/StringsView.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/FilterField.h"
#include "Orvel/views/NewLanguageSheet.h"
#include "Orvel/views/StringsAlerts.h"
#include "Orvel/views/StringsTable.h"
#include "Orvel/views/StringsToolbar.h"

#include <QDialog>
#include <QFrame>
#include <QPointer>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace orvel {

namespace {

constexpr int kFooterHeight = 38;

QWidget* placeholder(const char* name, QWidget* parent) {
    auto* empty = new QWidget(parent);
    empty->setObjectName(QString::fromLatin1(name));
    return empty;
}

} // namespace

StringsView::StringsView(Workspace& workspace, PlatformServices& platform, QWidget* parent)
    : QWidget(parent), m_workspace(workspace) {
    setObjectName(QStringLiteral("stringsView"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_toolbar = new StringsToolbar(workspace, this);
    outer->addWidget(m_toolbar);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("inspectorSplitter"));
    m_splitter->setChildrenCollapsible(false);
    outer->addWidget(m_splitter, 1);

    auto* main = new QWidget(m_splitter);
    m_stack = new QVBoxLayout(main);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->setSpacing(0);
    m_content = new QStackedWidget(main);
    m_table = new StringsTable(workspace, m_content);
    m_checklist = placeholder("checklistPlaceholder", m_content);
    m_content->addWidget(m_table);
    m_content->addWidget(m_checklist);
    m_stack->addWidget(m_content, 1);
    auto* divider = new QFrame(main);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    m_stack->addWidget(divider);
    m_footer = placeholder("footerPlaceholder", main);
    m_footer->setFixedHeight(kFooterHeight);
    m_stack->addWidget(m_footer);
    m_splitter->addWidget(main);
    m_splitter->setStretchFactor(0, 1);

    m_inspector = placeholder("inspectorPlaceholder", m_splitter);
    m_splitter->addWidget(m_inspector);
    m_splitter->setCollapsible(1, true);
    m_splitter->setStretchFactor(1, 0);
    fitInspector();

    m_alerts = new StringsAlerts(workspace, platform, this);

    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, m_toolbar->filterField(), &FilterField::focusField);

    FilterField* filter = m_toolbar->filterField();
    filter->setText(QString::fromStdString(workspace.search()));
    connect(filter, &FilterField::textEdited, this,
            [this](const QString& text) { m_workspace.setSearch(text.toStdString()); });
    connect(&workspace, &Workspace::searchChanged, filter,
            [this, filter] { filter->setText(QString::fromStdString(m_workspace.search())); });

    connect(m_toolbar, &StringsToolbar::newLanguageRequested, this, [this] { setShowNewLanguage(true); });
    connect(m_toolbar, &StringsToolbar::inspectorToggled, this,
            [this] { setShowInspector(!m_showInspector); });
    connect(m_toolbar, &StringsToolbar::liveRequested, this, [this](std::optional<std::string> language) {
        if (m_liveSwitch)
            m_liveSwitch(std::move(language));
    });
    connect(m_splitter, &QSplitter::splitterMoved, this, &StringsView::inspectorMoved);
    connect(&workspace, &Workspace::checklistOpenChanged, this, &StringsView::showContent);
    connect(&workspace, &Workspace::appChanged, this,
            [this] { setWindowTitle(QString::fromStdString(m_workspace.app().name)); });
    setWindowTitle(QString::fromStdString(workspace.app().name));
    showContent();
}

void StringsView::setChecklist(QWidget* checklist) {
    m_content->removeWidget(m_checklist);
    delete m_checklist;
    m_checklist = checklist;
    m_content->addWidget(checklist);
    showContent();
}

void StringsView::setFooter(QWidget* footer) {
    delete m_stack->replaceWidget(m_footer, footer);
    delete m_footer;
    m_footer = footer;
}

void StringsView::setInspector(QWidget* inspector) {
    const QList<int> sizes = m_splitter->sizes();
    delete m_splitter->replaceWidget(1, inspector);
    m_inspector = inspector;
    fitInspector();
    if (m_inspectorPlaced)
        m_splitter->setSizes(sizes);
    showContent();
}

void StringsView::setContextSheet(SheetMaker maker) {
    m_contextSheet = std::move(maker);
}

void StringsView::setLiveSwitch(LiveSwitch liveSwitch) {
    m_liveSwitch = std::move(liveSwitch);
}

void StringsView::setShowInspector(bool show) {
    if (m_showInspector == show)
        return;
    m_showInspector = show;
    showContent();
    emit showInspectorChanged(show);
}

void StringsView::setShowNewLanguage(bool show) {
    if (m_showNewLanguage == show)
        return;
    m_showNewLanguage = show;
    if (!show)
        return;
    QPointer<Workspace> workspace(&m_workspace);
    NewLanguageSheet* sheet =
        NewLanguageSheet::present(this, m_workspace.languages(), [workspace](const std::string& code) {
            if (workspace)
                workspace->addLanguage(code);
        });
    connect(sheet, &QDialog::finished, this, [this] { setShowNewLanguage(false); });
}

void StringsView::setShowContext(bool show) {
    if (m_showContext == show)
        return;
    m_showContext = show;
    emit showContextChanged(show);
    if (!show || !m_contextSheet)
        return;
    if (QDialog* sheet = m_contextSheet(this)) {
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        connect(sheet, &QDialog::finished, this, [this] { setShowContext(false); });
        sheet->open();
    }
}

std::vector<QWidget*> StringsView::keyboardParts() const {
    return {m_toolbar, m_content->currentWidget(), m_inspector, m_footer};
}

void StringsView::showContent() {
    const bool checklist = m_workspace.checklistOpen();
    m_content->setCurrentWidget(checklist ? m_checklist : static_cast<QWidget*>(m_table));
    // Opening the checklist hides the inspector without forgetting that the person wants it.
    m_inspector->setVisible(m_showInspector && !checklist);
}

void StringsView::fitInspector() {
    m_inspector->setMinimumWidth(kInspectorMinimum);
    m_inspector->setMaximumWidth(kInspectorMaximum);
}

void StringsView::placeInspector() {
    // Sizes given before the splitter has its width are shared out again when it gets one, and the
    // inspector would end at its minimum: its first width is set once the screen is shown at its size.
    if (m_inspectorPlaced || !isVisible())
        return;
    m_inspectorPlaced = true;
    const int room = m_splitter->width() - m_splitter->handleWidth();
    m_splitter->setSizes({std::max(0, room - kInspectorIdeal), kInspectorIdeal});
}

void StringsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    placeInspector();
}

void StringsView::inspectorMoved() {
    // Dragged shut: the person no longer wants the column.
    if (m_inspector->isVisible() && m_splitter->sizes().value(1) == 0)
        setShowInspector(false);
}

} // namespace orvel
