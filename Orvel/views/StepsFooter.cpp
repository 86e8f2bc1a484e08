#include "Orvel/views/StepsFooter.h"

#include "Orvel/state/ModelPreferences.h"
#include "Orvel/state/Workspace.h"
#include "Orvel/views/StepsFooterBar.h"
#include "engine/model/ModelSettings.h"

#include <QVBoxLayout>

namespace orvel {

StepsFooter::StepsFooter(Workspace& workspace, ModelPreferences& preferences,
                         std::function<void()> openSettings, std::function<void()> showContext,
                         QWidget* parent)
    : QWidget(parent), m_workspace(workspace), m_preferences(preferences), m_bar(new StepsFooterBar) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_bar);
    setFixedHeight(StepsFooterBar::kHeight);

    for (auto changed :
         {&Workspace::languageChanged, &Workspace::translatingChanged, &Workspace::checklistOpenChanged,
          &Workspace::capturingChanged, &Workspace::progressChanged, &Workspace::projectChanged,
          &Workspace::changesChanged, &Workspace::contextChanged, &Workspace::stringListChanged,
          &Workspace::problemsReadyChanged})
        connect(&workspace, changed, this, &StepsFooter::refresh);
    connect(&preferences, &ModelPreferences::providerChanged, this, &StepsFooter::refresh);
    connect(&preferences, &ModelPreferences::modelChanged, this, &StepsFooter::refresh);

    connect(m_bar, &StepsFooterBar::presetChosen, this, [this](std::size_t row) {
        const std::vector<ModelSettings::Preset>& presets = ModelSettings::presets();
        if (row < presets.size())
            m_preferences.apply(presets[row]);
    });
    connect(m_bar, &StepsFooterBar::settingsRequested, this, [openSettings = std::move(openSettings)] {
        if (openSettings)
            openSettings();
    });
    connect(m_bar, &StepsFooterBar::contextRequested, this, [showContext = std::move(showContext)] {
        if (showContext)
            showContext();
    });
    connect(m_bar, &StepsFooterBar::captureRequested, this, [this] { m_workspace.capture(); });
    connect(m_bar, &StepsFooterBar::reviewRequested, this,
            [this] { m_workspace.setFilter(Workspace::Filter::problems); });
    connect(m_bar, &StepsFooterBar::stopRequested, this, [this] { m_workspace.stop(); });
    connect(m_bar, &StepsFooterBar::checklistRequested, this, [this] { m_workspace.setChecklistOpen(true); });
    connect(m_bar, &StepsFooterBar::translateAllRequested, this, [this] { m_workspace.translate(true); });
    connect(m_bar, &StepsFooterBar::mainActionRequested, this, [this](MainAction action) {
        switch (action) {
        case MainAction::none:
            break;
        case MainAction::translateChanges:
            m_workspace.updateTranslations();
            break;
        case MainAction::translateStrings:
            m_workspace.translate(false);
            break;
        case MainAction::fixProblems:
            m_workspace.fixProblems();
            break;
        }
    });
    refresh();
}

void StepsFooter::refresh() {
    m_bar->present(presentFooter(footerFacts(m_workspace, m_preferences)));
}

} // namespace orvel
