#pragma once
// Shows the workspace's problem as one window-modal alert at a time. Dismissing an alert runs its
// button's action and clears the problem, but only while the problem is still the one the alert
// showed: a problem that changed while the alert was up replaces the alert and is never erased by it.

#include "Orvel/state/WorkspaceProblem.h"
#include "Orvel/views/PlatformServices.h"
#include "Orvel/views/StringsAlert.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>

#include <map>

class QAbstractButton;

class QWidget;

namespace orvel {

class Workspace;

class StringsAlerts : public QObject {
    Q_OBJECT
  public:
    using Actions = std::map<QAbstractButton*, StringsAlert::Action>;

    // The message box of `alert` with its buttons, and what each button does in `actions`.
    static QMessageBox* makeBox(const StringsAlert& alert, QWidget* parent, Actions& actions);

    // Alerts are shown over `host`'s window.
    StringsAlerts(Workspace& workspace, PlatformServices& platform, QWidget* host);

    // The alert up now, or none.
    QMessageBox* current() const { return m_box; }

  private:
    void problemChanged();
    void show(const WorkspaceProblem& problem);
    void dismissed(QMessageBox* box, const WorkspaceProblem& shown, const Actions& actions);
    void run(StringsAlert::Action action);
    // A start of the app that could not happen, told over the screen.
    void showLaunchFailure(LaunchFailure failure);

    Workspace& m_workspace;
    PlatformServices& m_platform;
    QWidget* m_host;
    QPointer<QMessageBox> m_box;
    WorkspaceProblem m_shown;
};

} // namespace orvel
