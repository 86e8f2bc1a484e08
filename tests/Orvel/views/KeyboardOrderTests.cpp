// The main window by keyboard alone, composed as the application composes it: Tab and Shift+Tab walk
// its parts in reading order, the arrow keys move within the table, and a translation typed in the
// inspector or in a cell goes into the project.
#include "Orvel/app/MainContent.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/shots/InertPlatform.h"
#include "Orvel/state/Library.h"
#include "Orvel/views/StringsTable.h"
#include "Orvel/views/StringsTableModel.h"
#include "tests/Orvel/state/LibraryFixture.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace orvel {
namespace {

class KeyboardOrderTest : public testing::LibraryTest {
  protected:
    // Notes with three strings and a German project that translates none of them, in the window at its
    // first size.
    void open() {
        preferences.setAutoUpdate(false);
        engine.install(
            {bundle("com.example.Notes", "1", "Notes", {{"a", "Open"}, {"b", "Save"}, {"c", "Quit"}})});
        defaults.set("language.com.example.Notes", std::string("de"));
        library = makeLibrary();
        settle();
        window = std::make_unique<MainWindow>(defaults);
        window->setContent(makeMainContent(
            *library, preferences, desktop, [] {}, [](const QUrl&) {}));
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        settle();
        ASSERT_TRUE(chosen().project());
        chosen().setChecklistOpen(false);
    }

    void TearDown() override {
        window.reset();
        library.reset();
        settle();
    }

    Workspace& chosen() { return library->workspace(library->apps().front()); }
    StringsTable* table() { return window->findChild<StringsTable*>("stringsTable"); }
    static std::string focusName() {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName().toStdString() : "<none>";
    }
    // The rows of the table that are selected, top to bottom.
    std::vector<int> selectedRows() {
        std::vector<int> rows;
        for (const QModelIndex& row : table()->selectionModel()->selectedRows())
            rows.push_back(row.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    std::string translationOfRow(int row) {
        const StringTranslation* stored = chosen().translation(table()->rows()->idAt(row));
        return stored && stored->text ? *stored->text : std::string();
    }

    InertPlatform desktop;
    std::unique_ptr<Library> library;
    std::unique_ptr<MainWindow> window;
};

// One key press (or typed text) of a person working without the mouse, and where the focus must be
// after it.
struct Press {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* typed;
    const char* focus;
    // The table's selected rows after the press; not checked when absent.
    std::optional<std::vector<int>> selected = std::nullopt;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

TEST_F(KeyboardOrderTest, TabWalksThePartsInReadingOrderAndTheArrowsTheRows) {
    open();
    const std::vector<Press> presses{
        {"into the toolbar", Qt::Key_Tab, kNone, nullptr, "languageMenu"},
        {"the Live pill", Qt::Key_Tab, kNone, nullptr, "livePill"},
        {"the filter", Qt::Key_Tab, kNone, nullptr, "filterText"},
        {"the Inspector button", Qt::Key_Tab, kNone, nullptr, "inspectorButton"},
        {"into the table, nothing chosen", Qt::Key_Tab, kNone, nullptr, "stringsTable", std::vector<int>{}},
        {"the first Down chooses the first row", Qt::Key_Down, kNone, nullptr, "stringsTable",
         std::vector<int>{0}},
        {"Down moves to the next row", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{1}},
        {"Up moves back", Qt::Key_Up, kNone, nullptr, "stringsTable", std::vector<int>{0}},
        {"Tab leaves the table for the inspector", Qt::Key_Tab, kNone, nullptr, "inspectorTranslation",
         std::vector<int>{0}},
        {"the translation is typed", Qt::Key_unknown, kNone, "Öffnen", "inspectorTranslation"},
        {"the Retranslate remark", Qt::Key_Tab, kNone, nullptr, "inspectorRemark"},
        {"the Retranslate button", Qt::Key_Tab, kNone, nullptr, "inspectorRetranslate"},
        {"into the footer: the model", Qt::Key_Tab, kNone, nullptr, "modelPicker"},
        {"the Context step", Qt::Key_Tab, kNone, nullptr, "contextStep"},
        {"the Review step", Qt::Key_Tab, kNone, nullptr, "reviewStep"},
        {"the main action", Qt::Key_Tab, kNone, nullptr, "mainActionButton"},
        {"More", Qt::Key_Tab, kNone, nullptr, "moreButton"},
        {"around to the sidebar", Qt::Key_Tab, kNone, nullptr, "appList"},
        {"Shift+Tab back around", Qt::Key_Tab, kShift, nullptr, "moreButton"},
        {"back through the footer", Qt::Key_Tab, kShift, nullptr, "mainActionButton"},
        {"", Qt::Key_Tab, kShift, nullptr, "reviewStep"},
        {"", Qt::Key_Tab, kShift, nullptr, "contextStep"},
        {"", Qt::Key_Tab, kShift, nullptr, "modelPicker"},
        {"back into the inspector", Qt::Key_Tab, kShift, nullptr, "inspectorRetranslate"},
        {"", Qt::Key_Backtab, kShift, nullptr, "inspectorRemark"},
        {"", Qt::Key_Tab, kShift, nullptr, "inspectorTranslation"},
        {"back to the table, the row still chosen", Qt::Key_Tab, kShift, nullptr, "stringsTable",
         std::vector<int>{0}},
        {"the next string", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{1}},
        {"typing in the table edits the row's cell", Qt::Key_unknown, kNone, "Sichern", "translationEditor"},
        {"Tab from the cell goes on to the inspector", Qt::Key_Tab, kNone, nullptr, "inspectorTranslation",
         std::vector<int>{1}},
        {"Shift+Tab from the inspector returns to the table", Qt::Key_Tab, kShift, nullptr, "stringsTable",
         std::vector<int>{1}},
        {"before the table, the toolbar", Qt::Key_Tab, kShift, nullptr, "inspectorButton"},
    };
    window->findChild<QWidget*>("appList")->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(focusName(), "appList");
    for (const Press& press : presses) {
        SCOPED_TRACE(press.what);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        // Each key goes where the focus is at that moment, as a keyboard's would.
        if (press.typed) {
            for (const QChar letter : QString::fromUtf8(press.typed))
                QTest::keyClicks(QApplication::focusWidget(), QString(letter));
        } else {
            QTest::keyClick(QApplication::focusWidget(), press.key, press.modifiers);
        }
        EXPECT_EQ(focusName(), press.focus);
        if (press.selected) {
            EXPECT_EQ(selectedRows(), *press.selected);
        }
    }
    EXPECT_EQ(translationOfRow(0), "Öffnen");
    EXPECT_EQ(translationOfRow(1), "Sichern");
}

} // namespace
} // namespace orvel
