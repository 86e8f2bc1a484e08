#pragma once
// The root view of the main window: the sidebar of translatable apps beside the detail of the chosen
// app. The detail shows the chosen app's workspace while an app of the list is chosen, and nothing
// otherwise; a different app, or the same app at another location, gets a fresh detail.

#include "Orvel/views/UrlOpener.h"

#include <QWidget>

#include <filesystem>
#include <optional>

class QSplitter;
class QStackedWidget;

namespace orvel {

class AppSidebar;
class Library;

class ContentView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int sidebarMinimumWidth = 190;
    static constexpr int sidebarWidth = 230;

    // `library` must outlive the view; `openUrl` opens the empty sidebar's help link.
    explicit ContentView(Library& library, UrlOpener openUrl = openInBrowser, QWidget* parent = nullptr);
    ~ContentView() override;

    AppSidebar* sidebar() const { return m_sidebar; }
    // The detail of the chosen app, or null while the detail is empty.
    QWidget* detail() const { return m_detail; }

  private:
    void showDetail();

    Library& m_library;
    QSplitter* m_splitter;
    AppSidebar* m_sidebar;
    QStackedWidget* m_detailStack;
    QWidget* m_emptyDetail;
    QWidget* m_detail = nullptr;
    // The bundle the detail was made for.
    std::optional<std::filesystem::path> m_detailBundle;
};

} // namespace orvel
