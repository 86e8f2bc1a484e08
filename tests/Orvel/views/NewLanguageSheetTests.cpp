#include "Orvel/views/NewLanguageSheet.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvel {
namespace {

// Clicks the row of `code`, which must be listed.
void clickRow(NewLanguageSheet& sheet, const std::string& code) {
    const std::vector<std::string> shown = sheet.shownCodes();
    const auto found = std::find(shown.begin(), shown.end(), code);
    ASSERT_NE(found, shown.end()) << code;
    auto* list = sheet.findChild<QListWidget*>("languageList");
    QListWidgetItem* item = list->item(static_cast<int>(found - shown.begin()));
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void typeSearch(NewLanguageSheet& sheet, const QString& text) {
    auto* search = sheet.findChild<QLineEdit*>("languageSearch");
    search->clear();
    QTest::keyClicks(search, text);
}

void pressInSearch(NewLanguageSheet& sheet, Qt::Key key) {
    QTest::keyClick(sheet.findChild<QLineEdit*>("languageSearch"), key);
}

TEST(NewLanguageSheet, CreatesOnlyTheSelectedCodeAndCancelsWithoutCreating) {
    enum class Ends { open, created, cancelled };
    struct Case {
        const char* name;
        std::function<void(NewLanguageSheet&)> act;
        Ends ends;
        std::optional<std::string> created;
        bool createEnabled;
    };
    const auto click = [](const char* button) {
        return [button](NewLanguageSheet& sheet) {
            QTest::mouseClick(sheet.findChild<QPushButton*>(button), Qt::LeftButton);
        };
    };
    const std::vector<Case> cases{
        {"nothing chosen", [](NewLanguageSheet&) {}, Ends::open, std::nullopt, false},
        {"Return without a selection", [](NewLanguageSheet& s) { pressInSearch(s, Qt::Key_Return); },
         Ends::open, std::nullopt, false},
        {"Return with a selection",
         [](NewLanguageSheet& s) {
             clickRow(s, "fr");
             pressInSearch(s, Qt::Key_Return);
         },
         Ends::created, "fr", true},
        {"Create button",
         [&](NewLanguageSheet& s) {
             clickRow(s, "pt-BR");
             click("createButton")(s);
         },
         Ends::created, "pt-BR", true},
        {"a search hides the selection",
         [&](NewLanguageSheet& s) {
             typeSearch(s, "german");
             clickRow(s, "de");
             typeSearch(s, "french");
             click("createButton")(s);
         },
         Ends::created, "de", true},
        {"Escape",
         [](NewLanguageSheet& s) {
             clickRow(s, "fr");
             pressInSearch(s, Qt::Key_Escape);
         },
         Ends::cancelled, std::nullopt, true},
        {"Cancel button",
         [&](NewLanguageSheet& s) {
             clickRow(s, "fr");
             click("cancelButton")(s);
         },
         Ends::cancelled, std::nullopt, true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> created;
        NewLanguageSheet sheet({"en"}, [&](const std::string& code) { created.push_back(code); });
        sheet.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
        const bool createEnabledBefore = sheet.findChild<QPushButton*>("createButton")->isEnabled();
        row.act(sheet);
        EXPECT_FALSE(createEnabledBefore);
        EXPECT_EQ(created, row.created ? std::vector<std::string>{*row.created} : std::vector<std::string>{});
        EXPECT_EQ(sheet.isVisible(), row.ends == Ends::open);
        if (row.ends != Ends::open) {
            EXPECT_EQ(sheet.result(), row.ends == Ends::created ? QDialog::Accepted : QDialog::Rejected);
        } else {
            EXPECT_EQ(sheet.findChild<QPushButton*>("createButton")->isEnabled(), row.createEnabled);
        }
    }
}

TEST(NewLanguageSheet, ListsWhatTheSearchFieldAndTheAppsLanguagesLeave) {
    struct Case {
        const char* name;
        std::vector<std::string> existing;
        QString search;
        std::vector<std::string> listed;
        std::vector<std::string> unlisted;
    };
    const std::vector<Case> cases{
        {"empty search", {"de"}, "", {"fr", "zh-Hant", "en"}, {"de"}},
        {"spaces only", {"de"}, "   ", {"fr", "zh-Hant", "en"}, {"de"}},
        {"own name", {}, "Deutsch", {"de"}, {"fr"}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        NewLanguageSheet sheet(row.existing, {});
        typeSearch(sheet, row.search);
        const std::vector<std::string> shown = sheet.shownCodes();
        for (const std::string& code : row.listed)
            EXPECT_NE(std::find(shown.begin(), shown.end(), code), shown.end()) << code;
        for (const std::string& code : row.unlisted)
            EXPECT_EQ(std::find(shown.begin(), shown.end(), code), shown.end()) << code;
    }
}

// The sheet by keyboard: Down from the search field chooses the first candidate, the arrows move
// through the list, Return creates the chosen one. Each row is a key press, where the focus must be
// after it and which code is chosen then.
TEST(NewLanguageSheet, TheKeyboardChoosesAndCreates) {
    struct Press {
        const char* what;
        Qt::Key key;
        const char* focus;
        // Row of the chosen code among those shown; -1 for none.
        int chosenRow;
    };
    struct Case {
        const char* name;
        QString search;
        std::vector<Press> presses;
        // The row created by the last press; -1 for none.
        int createdRow;
    };
    const std::vector<Case> cases{
        {"Down from the search field",
         "",
         {{"Down", Qt::Key_Down, "languageList", 0},
          {"Down", Qt::Key_Down, "languageList", 1},
          {"Up", Qt::Key_Up, "languageList", 0},
          {"Return", Qt::Key_Return, "languageList", 0}},
         0},
        {"a single candidate, by Down",
         "Deutsch",
         {{"Down", Qt::Key_Down, "languageList", 0}, {"Return", Qt::Key_Return, "languageList", 0}},
         0},
        {"Tab into the list, then Down",
         "",
         {{"Tab", Qt::Key_Tab, "languageList", -1},
          {"Down", Qt::Key_Down, "languageList", 0},
          {"Return", Qt::Key_Return, "languageList", 0}},
         0},
        {"Return with nothing chosen", "", {{"Return", Qt::Key_Return, "languageSearch", -1}}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<std::string> created;
        NewLanguageSheet sheet({"en"}, [&](const std::string& code) { created = code; });
        sheet.show();
        sheet.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
        auto* search = sheet.findChild<QLineEdit*>("languageSearch");
        search->setFocus();
        QTest::keyClicks(search, c.search);
        const std::vector<std::string> shown = sheet.shownCodes();
        ASSERT_FALSE(shown.empty());
        for (const Press& press : c.presses) {
            SCOPED_TRACE(press.what);
            QTest::keyClick(QApplication::focusWidget(), press.key);
            if (press.key == Qt::Key_Return)
                break;
            EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), press.focus);
            const std::optional<std::string> chosen =
                press.chosenRow < 0
                    ? std::nullopt
                    : std::optional<std::string>(shown[static_cast<std::size_t>(press.chosenRow)]);
            EXPECT_EQ(sheet.selection(), chosen);
        }
        const std::optional<std::string> expected =
            c.createdRow < 0 ? std::nullopt
                             : std::optional<std::string>(shown[static_cast<std::size_t>(c.createdRow)]);
        EXPECT_EQ(created, expected);
        EXPECT_EQ(sheet.isVisible(), !expected.has_value());
    }
}

} // namespace
} // namespace orvel
