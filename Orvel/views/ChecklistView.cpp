#include "Orvel/views/ChecklistView.h"

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Workspace.h"
#include "Orvel/views/ChecklistPanel.h"

#include <QVBoxLayout>

namespace orvel {

ChecklistView::ChecklistView(Workspace& workspace, ModelPreferences& preferences,
                             std::function<void()> openSettings, std::function<void()> showContext,
                             QWidget* parent)
    : QWidget(parent), m_workspace(workspace), m_preferences(preferences), m_panel(new ChecklistPanel) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_panel);

    for (auto changed :
         {&Workspace::appChanged, &Workspace::languageChanged, &Workspace::translatingChanged,
          &Workspace::capturingChanged, &Workspace::progressChanged, &Workspace::filterChanged,
          &Workspace::projectChanged, &Workspace::contextChanged, &Workspace::notesChanged,
          &Workspace::appStateChanged, &Workspace::stringListChanged, &Workspace::problemsReadyChanged})
        connect(&workspace, changed, this, &ChecklistView::refresh);
    connect(&preferences, &ModelPreferences::providerChanged, this, &ChecklistView::refresh);
    connect(&preferences, &ModelPreferences::modelChanged, this, &ChecklistView::refresh);

    connect(m_panel, &ChecklistPanel::settingsRequested, this, [openSettings = std::move(openSettings)] {
        if (openSettings)
            openSettings();
    });
    connect(m_panel, &ChecklistPanel::contextRequested, this, [showContext = std::move(showContext)] {
        if (showContext)
            showContext();
    });
    connect(m_panel, &ChecklistPanel::captureRequested, this, [this] { m_workspace.capture(); });
    connect(m_panel, &ChecklistPanel::stopRequested, this, [this] { m_workspace.stop(); });
    connect(m_panel, &ChecklistPanel::translateRequested, this, [this] { m_workspace.translate(false); });
    connect(m_panel, &ChecklistPanel::showProblemsRequested, this, &ChecklistView::showProblems);
    // The pill shows the new state only once the running app reports it.
    connect(m_panel, &ChecklistPanel::liveRequested, this,
            [this](bool on) { m_workspace.setLive(on ? m_workspace.language() : std::nullopt); });
    connect(m_panel, &ChecklistPanel::showStringsRequested, this, [this] { m_workspace.finishChecklist(); });
    refresh();
}

void ChecklistView::showProblems() {
    if (const std::optional<Workspace::Filter> filter = showProblemsFilter(m_workspace.filter()))
        m_workspace.setFilter(*filter);
    m_workspace.finishChecklist();
}

void ChecklistView::refresh() {
    m_panel->present(presentChecklist(checklistFacts(m_workspace, m_preferences)));
}

} // namespace orvel
