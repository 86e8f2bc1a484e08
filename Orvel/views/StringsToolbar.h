#pragma once
// The toolbar of the strings screen: the app's name, the language menu (the app's languages, a divider
// and "New Language…"), the Live pill, the filter field and the Inspector button. It shows the
// workspace and reports what the person asks for; the screen acts on it.

#include <QToolBar>

#include <optional>
#include <string>

class QLabel;
class QMenu;
class QToolButton;

namespace orvel {

class FilterField;
class LivePill;
class PillButton;
class Workspace;

class StringsToolbar : public QToolBar {
    Q_OBJECT
  public:
    explicit StringsToolbar(Workspace& workspace, QWidget* parent = nullptr);

    FilterField* filterField() const { return m_filter; }
    QMenu* languageMenu() const { return m_menu; }
    LivePill* livePill() const { return m_live; }

  signals:
    void newLanguageRequested();
    void inspectorToggled();
    // The Live pill asks for the language to show in the app: the chosen one when turned on, none when
    // turned off, taken at the click.
    void liveRequested(std::optional<std::string> language);

  private:
    void showApp();
    void showLanguages();
    void showLive();
    void showTranslating();

    Workspace& m_workspace;
    QLabel* m_name = nullptr;
    PillButton* m_language = nullptr;
    QMenu* m_menu = nullptr;
    LivePill* m_live = nullptr;
    FilterField* m_filter = nullptr;
    QToolButton* m_inspector = nullptr;
};

} // namespace orvel
