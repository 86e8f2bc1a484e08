#pragma once
// The checklist of one app's strings screen: a ChecklistPanel that follows the app's workspace and the
// model preferences, and whose controls call the workspace's operations. It keeps nothing of its own.

#include <QWidget>

#include <functional>

namespace orvel {

class ChecklistPanel;
class ModelPreferences;
class Workspace;

class ChecklistView : public QWidget {
    Q_OBJECT
  public:
    // `openSettings` shows the settings window with the model settings form; `showContext` presents
    // the context sheet. Both workspace and preferences must outlive the view.
    ChecklistView(Workspace& workspace, ModelPreferences& preferences, std::function<void()> openSettings,
                  std::function<void()> showContext, QWidget* parent = nullptr);

    ChecklistPanel& panel() const { return *m_panel; }

  private:
    void refresh();
    void showProblems();

    Workspace& m_workspace;
    ModelPreferences& m_preferences;
    ChecklistPanel* m_panel;
};

} // namespace orvel
