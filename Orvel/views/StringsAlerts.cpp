#include "Orvel/views/StringsAlerts.h"

#include "Orvel/state/Workspace.h"
#include "Orvel/views/LaunchFailureAlert.h"
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

QMessageBox* StringsAlerts::makeBox(const StringsAlert& alert, QWidget* parent, Actions& actions) {
    auto* box = new QMessageBox(parent);
    box->setObjectName(QStringLiteral("problemAlert"));
    box->setIcon(QMessageBox::Warning);
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
    return box;
}

void StringsAlerts::show(const WorkspaceProblem& problem) {
    Actions actions;
    QMessageBox* box =
        makeBox(stringsAlert(problem, QString::fromStdString(m_workspace.app().name)), m_host, actions);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    m_box = box;
    m_shown = problem;
    connect(box, &QDialog::finished, this,
            [this, box, problem, actions] { dismissed(box, problem, actions); });
    box->open();
}

void StringsAlerts::dismissed(QMessageBox* box, const WorkspaceProblem& shown, const Actions& actions) {
    if (m_box != box)
        return;
    m_box = nullptr;
    const auto pressed = actions.find(box->clickedButton());
    if (pressed != actions.end())
        run(pressed->second);
    if (m_workspace.problem() == shown)
        m_workspace.setProblem(std::nullopt);
}

void StringsAlerts::showLaunchFailure(LaunchFailure failure) {
    const TranslatableApp& app = m_workspace.app();
    Actions none;
    QMessageBox* box =
        makeBox(launchFailureAlert(failure, QString::fromStdString(app.name), app.bundleURL), m_host, none);
    box->setObjectName(QStringLiteral("launchFailedAlert"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void StringsAlerts::run(StringsAlert::Action action) {
    switch (action) {
    case StringsAlert::Action::none:
        break;
    case StringsAlert::Action::openAccessibilitySettings:
        m_platform.openAccessibilitySettings();
        break;
    case StringsAlert::Action::launchApp:
        if (const std::optional<LaunchFailure> failure = m_platform.launchApp(m_workspace.app().bundleURL))
            showLaunchFailure(*failure);
        break;
    case StringsAlert::Action::openSettings:
        m_platform.openSettings();
        break;
    }
}

} // namespace orvel
