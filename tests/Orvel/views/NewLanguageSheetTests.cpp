#include "Orvel/views/NewLanguageSheet.h"

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

} // namespace
} // namespace orvel
