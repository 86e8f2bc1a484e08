#pragma once
// The root view of the main window: the sidebar of translatable apps beside the detail of the chosen
// app. The detail shows the chosen app's workspace while an app of the list is chosen, and nothing
// otherwise; a different app, or the same app at another location, gets a fresh detail. The view's title
// is the detail's (the chosen app's name), "Orvel" while the detail is empty; the window shows it.

#include "Orvel/views/KeyboardOrder.h"
#include "Orvel/views/UrlOpener.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>

class QSplitter;
class QStackedWidget;

namespace orvel {

class AppSidebar;
class Library;
class Workspace;

class ContentView : public QWidget, public KeyboardParts {
    Q_OBJECT
  public:
    static constexpr int sidebarMinimumWidth = 190;
    static constexpr int sidebarWidth = 230;

    // Builds the detail of a chosen app's workspace; the view owns what it returns.
    using DetailMaker = std::function<QWidget*(Workspace&)>;

    // `library` must outlive the view; `openUrl` opens the empty sidebar's help link. Without a detail
    // maker the detail is a simple page naming the app.
    explicit ContentView(Library& library, UrlOpener openUrl = openInBrowser, QWidget* parent = nullptr,
                         DetailMaker makeDetail = {});
    ~ContentView() override;

    AppSidebar* sidebar() const { return m_sidebar; }
    // The detail of the chosen app, or null while the detail is empty.
    QWidget* detail() const { return m_detail; }

    // The sidebar, then the detail's parts: Tab walks the whole window.
    std::vector<QWidget*> keyboardParts() const override;

  protected:
    bool focusNextPrevChild(bool next) override;

  private:
    void showDetail();
    void showTitle();

    Library& m_library;
    DetailMaker m_makeDetail;
    QSplitter* m_splitter;
    AppSidebar* m_sidebar;
    QStackedWidget* m_detailStack;
    QWidget* m_emptyDetail;
    QWidget* m_detail = nullptr;
    // The bundle the detail was made for.
    std::optional<std::filesystem::path> m_detailBundle;
};

} // namespace orvel
