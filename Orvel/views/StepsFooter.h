#pragma once
// The steps footer of one app's strings screen: a StepsFooterBar that follows the app's workspace and
// the model preferences, and whose controls call their operations. It keeps nothing of its own.

#include <QWidget>

#include <functional>

namespace orvel {

class ModelPreferences;
class StepsFooterBar;
class Workspace;

class StepsFooter : public QWidget {
    Q_OBJECT
  public:
    // `openSettings` shows the settings window with the model settings form; `showContext` presents
    // the context sheet. Both workspace and preferences must outlive the footer.
    StepsFooter(Workspace& workspace, ModelPreferences& preferences, std::function<void()> openSettings,
                std::function<void()> showContext, QWidget* parent = nullptr);

    StepsFooterBar& bar() const { return *m_bar; }

  private:
    void refresh();

    Workspace& m_workspace;
    ModelPreferences& m_preferences;
    StepsFooterBar* m_bar;
};

} // namespace orvel
