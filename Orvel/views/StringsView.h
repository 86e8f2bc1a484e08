#pragma once
// The detail pane of the main window for one target app: the toolbar, the strings table (or the
// checklist in its place) above the steps footer, the inspector beside them, the new-language and
// context sheets, the alerts of the workspace's problems and Ctrl+F into the filter field. It keeps
// only its presentation flags; everything shown is read from the workspace, every action goes to it.
//
// The checklist, the steps footer, the inspector and the context sheet are made by their own views and
// handed in; until then their places hold empty placeholders.

#include <QWidget>

#include "Orvel/views/KeyboardOrder.h"

#include <functional>
#include <optional>
#include <string>

class QDialog;
class QSplitter;
class QStackedWidget;
class QVBoxLayout;

namespace orvel {

class PlatformServices;
class StringsAlerts;
class StringsTable;
class StringsToolbar;
class Workspace;

class StringsView : public QWidget, public KeyboardParts {
    Q_OBJECT
  public:
    static constexpr int kInspectorMinimum = 280;
    static constexpr int kInspectorIdeal = 340;
    static constexpr int kInspectorMaximum = 520;

    // Asks the running app to show a language, or none to stop showing a translation.
    using LiveSwitch = std::function<void(std::optional<std::string> language)>;
    // Makes the context sheet over `parent`; the view opens it and clears its flag when it finishes.
    using SheetMaker = std::function<QDialog*(QWidget* parent)>;

    StringsView(Workspace& workspace, PlatformServices& platform, QWidget* parent = nullptr);

    // The children made by other views; each replaces its placeholder and is owned by this view.
    void setChecklist(QWidget* checklist);
    void setFooter(QWidget* footer);
    void setInspector(QWidget* inspector);
    void setContextSheet(SheetMaker maker);
    // What the Live pill calls with the language taken at the click.
    void setLiveSwitch(LiveSwitch liveSwitch);

    bool showInspector() const { return m_showInspector; }
    void setShowInspector(bool show);
    bool showNewLanguage() const { return m_showNewLanguage; }
    void setShowNewLanguage(bool show);
    bool showContext() const { return m_showContext; }
    void setShowContext(bool show);

    StringsToolbar* toolbar() const { return m_toolbar; }
    StringsTable* table() const { return m_table; }
    StringsAlerts* alerts() const { return m_alerts; }

    // The toolbar, the table or the checklist, the inspector, the footer.
    std::vector<QWidget*> keyboardParts() const override;

  signals:
    void showInspectorChanged(bool show);
    void showContextChanged(bool show);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showContent();
    void fitInspector();
    void placeInspector();
    void inspectorMoved();

    Workspace& m_workspace;
    StringsToolbar* m_toolbar = nullptr;
    QSplitter* m_splitter = nullptr;
    QStackedWidget* m_content = nullptr;
    StringsTable* m_table = nullptr;
    QWidget* m_checklist = nullptr;
    QWidget* m_footer = nullptr;
    QVBoxLayout* m_stack = nullptr;
    QWidget* m_inspector = nullptr;
    StringsAlerts* m_alerts = nullptr;
    SheetMaker m_contextSheet;
    LiveSwitch m_liveSwitch;
    bool m_showInspector = true;
    bool m_showNewLanguage = false;
    bool m_showContext = false;
    bool m_inspectorPlaced = false;
};

} // namespace orvel
