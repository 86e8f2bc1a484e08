// The main window by keyboard alone, composed as the application composes it: Tab and Shift+Tab walk
// its parts in reading order, the arrow keys move within the table, and a translation typed in the
// inspector or in a cell goes into the project.
#include "Orvel/app/MainContent.h"
#include "Orvel/app/MainWindow.h"
#include "Orvel/shots/InertPlatform.h"
#include "Orvel/state/Library.h"
#include "Orvel/views/StringsTable.h"
#include "Orvel/views/StringsTableModel.h"
#include "engine/apps/TranslationProject.h"
#include "tests/Orvel/state/LibraryFixture.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <map>

#include <gtest/gtest.h>

namespace orvel {
namespace {

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
    // What happens instead of a key, when given: something the program does meanwhile.
    std::function<void()> instead = nullptr;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

class KeyboardOrderTest : public testing::LibraryTest {
  protected:
    // Notes with six strings, listed in the order of their keys, and a German project that holds
    // `translations` (by key), in the window at its first size.
    void open(const std::map<std::string, StringTranslation>& translations = {}) {
        preferences.setAutoUpdate(false);
        notes = bundle(
            "com.example.Notes", "1", "Notes",
            {{"a", "Add"}, {"b", "Browse"}, {"c", "Copy"}, {"d", "Delete"}, {"e", "Export"}, {"f", "Find"}});
        std::map<std::string, StringTranslation> project;
        for (const auto& [key, translation] : translations)
            project.emplace(SourceString::id("Main", key), translation);
        writeProject(notes, "de", project);
        engine.install({notes});
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

    void walk(const std::vector<Press>& presses) {
        for (const Press& press : presses) {
            SCOPED_TRACE(press.what);
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            // Each key goes where the focus is at that moment, as a keyboard's would.
            if (press.instead) {
                press.instead();
                settle();
            } else if (press.typed) {
                for (const QChar letter : QString::fromUtf8(press.typed))
                    QTest::keyClicks(QApplication::focusWidget(), QString(letter));
            } else {
                QTest::keyClick(QApplication::focusWidget(), press.key, press.modifiers);
            }
            // What a key leaves for later (an editor's end) is done before the next key.
            QCoreApplication::processEvents();
            EXPECT_EQ(focusName(), press.focus);
            if (press.selected) {
                EXPECT_EQ(selectedRows(), *press.selected);
            }
        }
    }

    TranslatableApp notes;
    InertPlatform desktop;
    std::unique_ptr<Library> library;
    std::unique_ptr<MainWindow> window;
};

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
    walk(presses);
    EXPECT_EQ(translationOfRow(0), "Öffnen");
    EXPECT_EQ(translationOfRow(1), "Sichern");
}

// Keys that reach the translation of the chosen row, Browse, whose translation is the model's, and then of
// the empty row above it: none of them takes away a translation the person did not mean to change, and
// what Escape takes back is taken back on disk too.
TEST_F(KeyboardOrderTest, AKeyTypedInTheTableNeverThrowsATranslationAway) {
    open({{"b", testing::translated("Sichern")}});
    using Origin = StringTranslation::Origin;
    struct Key {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        // Typed text, an input method's committed text when `composed`, or the text that comes with `key`.
        const char* typed;
        bool composed;
        const char* focus;
        int row;
        // The row's translation after the key; empty for none, whose origin is not checked.
        const char* text;
        Origin origin = Origin::person;
    };
    const std::vector<Key> keys{
        {"a letter types after the text", Qt::Key_unknown, kNone, "z", false, "translationEditor", 1,
         "Sichernz"},
        {"typed again", Qt::Key_unknown, kNone, "zz", false, "translationEditor", 1, "Sichernzzz"},
        {"Escape puts back the model's translation", Qt::Key_Escape, kNone, nullptr, false, "stringsTable", 1,
         "Sichern", Origin::model},
        {"Backspace leaves it", Qt::Key_Backspace, kNone, "\b", false, "stringsTable", 1, "Sichern",
         Origin::model},
        {"Escape with nothing typed", Qt::Key_Escape, kNone, nullptr, false, "stringsTable", 1, "Sichern",
         Origin::model},
        {"Delete leaves it", Qt::Key_Delete, kNone, "\x7f", false, "stringsTable", 1, "Sichern",
         Origin::model},
        {"", Qt::Key_Escape, kNone, nullptr, false, "stringsTable", 1, "Sichern", Origin::model},
        {"a composition types after the text", Qt::Key_unknown, kNone, "ä", true, "translationEditor", 1,
         "Sichernä"},
        {"", Qt::Key_Escape, kNone, nullptr, false, "stringsTable", 1, "Sichern", Origin::model},
        {"up to the empty row", Qt::Key_Up, kNone, nullptr, false, "stringsTable", 0, ""},
        {"a letter there", Qt::Key_unknown, kNone, "x", false, "translationEditor", 0, "x"},
        {"Escape leaves it empty again", Qt::Key_Escape, kNone, nullptr, false, "stringsTable", 0, ""},
    };
    table()->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(table(), Qt::Key_Down);
    QTest::keyClick(table(), Qt::Key_Down);
    ASSERT_EQ(selectedRows(), std::vector<int>{1});
    ASSERT_EQ(translationOfRow(1), "Sichern");
    for (const Key& key : keys) {
        SCOPED_TRACE(key.what);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (key.composed) {
            QInputMethodEvent composition;
            composition.setCommitString(QString::fromUtf8(key.typed));
            QApplication::sendEvent(focus, &composition);
        } else if (key.typed && key.key != Qt::Key_unknown) {
            // The text a keyboard gives the key along with it.
            QTest::sendKeyEvent(QTest::Click, focus, key.key, QString::fromLatin1(key.typed), key.modifiers);
        } else if (key.typed) {
            QTest::keyClicks(focus, QString::fromUtf8(key.typed));
        } else {
            QTest::keyClick(focus, key.key, key.modifiers);
        }
        EXPECT_EQ(focusName(), key.focus);
        const StringTranslation* stored = chosen().translation(table()->rows()->idAt(key.row));
        EXPECT_EQ(translationOfRow(key.row), key.text);
        if (stored && *key.text) {
            EXPECT_EQ(stored->origin, key.origin);
        }
    }
    chosen().flush();
    const TranslationProject written = TranslationProject::load(notes, "de");
    EXPECT_EQ(written.translations.size(), 1u);
    EXPECT_EQ(written.translations.at(SourceString::id("Main", "b")), testing::translated("Sichern"));
}

// After an edit in the inspector or in a cell, after a filter that keeps the row and after a run's batch,
// Down goes on to the string after the one chosen.
TEST_F(KeyboardOrderTest, DownGoesOnFromTheEditedString) {
    open();
    const std::vector<Press> presses{
        {"the second row", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{0}},
        {"", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{1}},
        {"into the inspector", Qt::Key_Tab, kNone, nullptr, "inspectorTranslation", std::vector<int>{1}},
        {"an edit there", Qt::Key_unknown, kNone, "Sichern", "inspectorTranslation", std::vector<int>{1}},
        {"back to the table", Qt::Key_Tab, kShift, nullptr, "stringsTable", std::vector<int>{1}},
        {"Down after the inspector's edit", Qt::Key_Down, kNone, nullptr, "stringsTable",
         std::vector<int>{2}},
        {"", Qt::Key_Up, kNone, nullptr, "stringsTable", std::vector<int>{1}},
        {"an edit in the cell", Qt::Key_unknown, kNone, "n", "translationEditor", std::vector<int>{1}},
        {"Return ends it", Qt::Key_Return, kNone, nullptr, "stringsTable", std::vector<int>{1}},
        {"Down after the cell's edit", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{2}},
        {"a filter that keeps Copy, now the second row", Qt::Key_unknown, kNone, nullptr, "stringsTable",
         std::vector<int>{1}, [this] { chosen().setSearch("o"); }},
        {"Down after the filter", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{2}},
        {"", Qt::Key_Up, kNone, nullptr, "stringsTable", std::vector<int>{1}},
        {"a run's batch", Qt::Key_unknown, kNone, nullptr, "stringsTable", std::vector<int>{1},
         [this] {
             chosen().applyBatch({{SourceString::id("Main", "e"), testing::translated("Exportieren")}},
                                 {.done = 1, .total = 1}, "de");
         }},
        {"Down after the batch", Qt::Key_Down, kNone, nullptr, "stringsTable", std::vector<int>{2}},
    };
    table()->setFocus(Qt::OtherFocusReason);
    walk(presses);
    EXPECT_EQ(translationOfRow(2), "Exportieren");
}

// The main action of the footer and of the checklist's Translate card as a run starts and ends: the focus
// stays on it, whatever it turns into, and never lands in a text field.
TEST_F(KeyboardOrderTest, TheFocusStaysOnTheMainActionAsItChanges) {
    open();
    const auto translating = [this](bool on) { return [this, on] { chosen().setTranslating(on); }; };
    const std::vector<Press> footer{
        {"a run starts", Qt::Key_unknown, kNone, nullptr, "stopButton", std::nullopt, translating(true)},
        {"it ends by itself", Qt::Key_unknown, kNone, nullptr, "mainActionButton", std::nullopt,
         translating(false)},
        {"another", Qt::Key_unknown, kNone, nullptr, "stopButton", std::nullopt, translating(true)},
        {"Space stops it", Qt::Key_Space, kNone, nullptr, "mainActionButton"},
    };
    window->findChild<QWidget*>("mainActionButton")->setFocus(Qt::OtherFocusReason);
    walk(footer);

    chosen().setChecklistOpen(true);
    settle();
    const std::vector<Press> checklist{
        {"a run starts", Qt::Key_unknown, kNone, nullptr, "checklistStopButton", std::nullopt,
         translating(true)},
        {"it ends by itself", Qt::Key_unknown, kNone, nullptr, "checklistTranslateButton", std::nullopt,
         translating(false)},
        {"another", Qt::Key_unknown, kNone, nullptr, "checklistStopButton", std::nullopt, translating(true)},
        {"Space stops it", Qt::Key_Space, kNone, nullptr, "checklistTranslateButton"},
    };
    window->findChild<QWidget*>("checklistTranslateButton")->setFocus(Qt::OtherFocusReason);
    walk(checklist);

    // The capture's button cannot be pressed while the capture goes; its focus stays in the checklist.
    const std::vector<Press> capture{
        {"a capture starts", Qt::Key_unknown, kNone, nullptr, "checklist", std::nullopt,
         [this] { chosen().setCapturing(true); }},
    };
    window->findChild<QWidget*>("captureContextButton")->setFocus(Qt::OtherFocusReason);
    walk(capture);
    chosen().setCapturing(false);
}

// Tab from a control that Tab does not stop at, which the mouse or the program gave the focus, goes on to
// the next control in reading order, Shift+Tab to the one before.
TEST_F(KeyboardOrderTest, TabGoesOnFromAControlThatIsNoStop) {
    open();
    struct From {
        const char* widget;
        bool forward;
        const char* focus;
    };
    // With no row chosen the inspector has no control Tab stops at: the footer comes next.
    const std::vector<From> cases{
        {"stringInspector", true, "modelPicker"},
        {"inspectorEnglish", true, "modelPicker"},
        {"inspectorEnglish", false, "stringsTable"},
    };
    for (const From& from : cases) {
        SCOPED_TRACE(std::string(from.widget) + (from.forward ? " Tab" : " Shift+Tab"));
        auto* widget = window->findChild<QWidget*>(from.widget);
        ASSERT_NE(widget, nullptr);
        widget->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(focusName(), from.widget);
        QTest::keyClick(widget, Qt::Key_Tab, from.forward ? kNone : kShift);
        EXPECT_EQ(focusName(), from.focus);
    }
}

} // namespace
} // namespace orvel
