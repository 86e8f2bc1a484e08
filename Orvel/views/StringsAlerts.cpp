#include "Orvel/views/StringsAlerts.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/PlainText.h"
#include "Orvel/views/PlatformServices.h"

#include <QMessageBox>
#include <QPushButton>

namespace orvel {

StringsAlerts::StringsAlerts(Workspace& workspace, PlatformServices& platform, QWidget* host)
    : QObject(host), m_workspace(workspace), m_platform(platform), m_host(host) {
    connect(&workspace, &Workspace::problemChanged, this, &StringsAlerts::problemChanged);
    problemChanged();
}

void StringsAlerts::problemChanged() {
    const std::optional<WorkspaceProblem>& problem = m_workspace.problem();
    if (m_box && problem == m_shown)
        return;
    if (m_box) {
        // Superseded: it closes without acting and without touching the newer problem.
        QMessageBox* old = m_box;
        m_box = nullptr;
        old->done(QMessageBox::Cancel);
    }
    if (problem)
        show(*problem);
}

void StringsAlerts::show(const WorkspaceProblem& problem) {
    const StringsAlert alert = stringsAlert(problem, QString::fromStdString(m_workspace.app().name));
    auto* box = new QMessageBox(m_host);
    box->setObjectName(QStringLiteral("problemAlert"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(QMessageBox::Warning);
    std::map<QAbstractButton*, StringsAlert::Action> actions;
    for (const StringsAlert::Button& button : alert.buttons) {
        QPushButton* added = box->addButton(actionText(button.text), button.cancel ? QMessageBox::RejectRole
                                                                                   : QMessageBox::AcceptRole);
        actions.emplace(added, button.action);
        if (!button.cancel)
            box->setDefaultButton(added);
    }
    if (alert.buttons.empty())
        box->setStandardButtons(QMessageBox::Ok);
    setPlainMessage(box, alert.title, alert.message);
    m_box = box;
    m_shown = problem;
    connect(box, &QDialog::finished, this,
            [this, box, problem, actions] { dismissed(box, problem, actions); });
    box->open();
}

void StringsAlerts::dismissed(QMessageBox* box, const WorkspaceProblem& shown,
                              const std::map<QAbstractButton*, StringsAlert::Action>& actions) {
    if (m_box != box)
        return;
    m_box = nullptr;
    const auto pressed = actions.find(box->clickedButton());
    if (pressed != actions.end())
        run(pressed->second);
    if (m_workspace.problem() == shown)
        m_workspace.setProblem(std::nullopt);
}

void StringsAlerts::run(StringsAlert::Action action) {
    switch (action) {
    case StringsAlert::Action::none:
        break;
    case StringsAlert::Action::openAccessibilitySettings:
        m_platform.openAccessibilitySettings();
        break;
    case StringsAlert::Action::launchApp:
        m_platform.launchApp(m_workspace.app().bundleURL);
        break;
    case StringsAlert::Action::openSettings:
        m_platform.openSettings();
        break;
    }
}

} // namespace orvel
