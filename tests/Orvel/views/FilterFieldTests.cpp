#include "Orvel/views/FilterField.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace orvel {
namespace {

TEST(FilterField, EscapeEmptiesAndGivesUpFocusWhileClearKeepsIt) {
    struct Case {
        const char* name;
        QString typed;
        std::function<void(FilterField&)> act;
        QString text;
        bool clearShown;
        bool focused;
        std::vector<QString> reported;
    };
    const auto press = [](Qt::Key key) {
        return [key](FilterField& f) { QTest::keyClick(f.findChild<QLineEdit*>("filterText"), key); };
    };
    const std::vector<Case> cases{
        {"typing", "ab", [](FilterField&) {}, "ab", true, true, {"a", "ab"}},
        {"spaces count as text", "  ", [](FilterField&) {}, "  ", true, true, {" ", "  "}},
        {"escape", "ab", press(Qt::Key_Escape), "", false, false, {"a", "ab", ""}},
        {"clear button",
         "ab",
         [](FilterField& f) { QTest::mouseClick(f.findChild<QToolButton*>("filterClear"), Qt::LeftButton); },
         "",
         false,
         true,
         {"a", "ab", ""}},
        {"escape with nothing typed", "", press(Qt::Key_Escape), "", false, false, {}},
        {"a change from outside",
         "",
         [](FilterField& f) { f.setText("outside"); },
         "outside",
         true,
         true,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilterField field;
        field.show();
        field.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&field));
        std::vector<QString> reported;
        QObject::connect(&field, &FilterField::textEdited, [&](const QString& t) { reported.push_back(t); });
        field.focusField();
        QTest::keyClicks(field.findChild<QLineEdit*>("filterText"), c.typed);
        c.act(field);
        EXPECT_EQ(field.text(), c.text);
        EXPECT_EQ(field.findChild<QToolButton*>("filterClear")->isVisible(), c.clearShown);
        EXPECT_EQ(field.isFieldFocused(), c.focused);
        EXPECT_EQ(reported, c.reported);
        EXPECT_EQ(field.size(), QSize(FilterField::kWidth, FilterField::kHeight));
    }
}

} // namespace
} // namespace orvel
