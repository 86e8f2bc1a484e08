#pragma once
// The detail of the chosen app until its strings screen takes this place: the app's name.

#include "Orvel/state/Workspace.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace orvel {

class WorkspacePlaceholder : public QWidget {
    Q_OBJECT
  public:
    explicit WorkspacePlaceholder(Workspace& workspace, QWidget* parent = nullptr);

    Workspace* workspace() const { return m_workspace; }
    QLabel* appName() const { return m_appName; }

  private:
    void showApp();

    QPointer<Workspace> m_workspace;
    QLabel* m_appName;
};

} // namespace orvel
