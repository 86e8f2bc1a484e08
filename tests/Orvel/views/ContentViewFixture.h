#pragma once
// The main window's content over a real library in a scratch home: apps the test installs, projects it
// writes, and the web addresses the view asked to open.

#include "Orvel/views/AppSidebar.h"
#include "Orvel/views/ContentView.h"
#include "Orvel/views/SidebarModel.h"
#include "tests/Orvel/state/LibraryFixture.h"

#include <QTest>
#include <QTreeView>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvel::testing {

class ContentViewTest : public LibraryTest {
  public:
    // Public, so that the steps of table rows can act on the fixture.
    ~ContentViewTest() override { close(); }

    // A library that has scanned `apps` (the first becomes the chosen one), without a view yet.
    void scan(std::vector<TranslatableApp> apps) {
        close();
        preferences.setAutoUpdate(false);
        engine.install(std::move(apps));
        library = makeLibrary();
        settle();
    }

    // The view of the library, shown at a window's size.
    void show() {
        view = std::make_unique<ContentView>(*library,
                                             [this](const QUrl& address) { opened.push_back(address); });
        view->resize(900, 560);
        view->show();
        processPendingEvents();
    }

    void close() {
        view.reset();
        library.reset();
        settle();
    }

    // "<folder>.app" named `name`.
    TranslatableApp named(const std::string& identifier, const std::string& name, const std::string& folder) {
        TranslatableApp record = app(identifier, "1", folder);
        record.name = name;
        return record;
    }

    SidebarModel& model() { return view->sidebar()->model(); }
    QTreeView& list() { return *view->sidebar()->list(); }

    // The rows the list highlights.
    std::vector<SidebarItem> highlighted() {
        std::vector<SidebarItem> items;
        for (const QModelIndex& index : list().selectionModel()->selectedIndexes())
            if (auto item = model().item(index))
                items.push_back(*item);
        return items;
    }

    void click(const SidebarItem& item) {
        const QModelIndex index = model().indexOf(item);
        ASSERT_TRUE(index.isValid());
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, list().visualRect(index).center());
        processPendingEvents();
    }

    // A click on the disclosure triangle of the app's row.
    void toggle(const std::string& app) {
        const QRect row = list().visualRect(model().indexOf(SidebarItem{app, std::nullopt}));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {},
                          QPoint(row.left() - list().indentation() / 2, row.center().y()));
        processPendingEvents();
    }

    std::unique_ptr<Library> library;
    std::unique_ptr<ContentView> view;
    std::vector<QUrl> opened;
};

} // namespace orvel::testing
