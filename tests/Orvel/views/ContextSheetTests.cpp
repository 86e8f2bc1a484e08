#include "Orvel/views/ContextSheet.h"

#include "Orvel/views/FormSection.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace orvel {
namespace {

class ContextSheetTest : public testing::WorkspaceRunTest {
  protected:
    std::unique_ptr<Workspace> openWithTerms(const TranslatableApp& app) {
        auto workspace = openGerman(app);
        TranslationProject project = *workspace->project();
        project.terms = {{"Bookmark", "Lesezeichen"}, {"archive", "Archiv"}};
        workspace->setProject(project);
        return workspace;
    }
    static bool sectionShown(ContextSheet& sheet, QWidget* inside) {
        for (QWidget* w = inside; w && w != &sheet; w = w->parentWidget())
            if (qobject_cast<FormSection*>(w))
                return w->isVisibleTo(&sheet);
        return false;
    }
};

TEST_F(ContextSheetTest, EditsAndRemovesTermsInPlace) {
    struct Case {
        const char* name;
        bool chooseAgain;
        std::vector<std::pair<std::string, std::string>> expected;
    };
    const std::vector<Case> cases = {
        {"emptying a focused field removes its term", false, {{"archive", "Archiv"}}},
        {"Choose Again removes every term", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = appWith({"A"});
        auto workspace = openWithTerms(app);
        ContextSheet sheet(*workspace);
        sheet.show();
        auto* field = sheet.findChild<QLineEdit*>("termField_Bookmark");
        ASSERT_TRUE(field);
        if (c.chooseAgain) {
            sheet.findChild<QPushButton*>("chooseTermsAgain")->click();
        } else {
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
        }
        testing::processPendingEvents();
        EXPECT_EQ(workspace->sortedTerms(), c.expected);
        auto* archive = sheet.findChild<QLineEdit*>("termField_archive");
        EXPECT_EQ(archive != nullptr && sectionShown(sheet, archive), !c.expected.empty());
    }
}

// Done and Escape both close the sheet and drop the glossary rows left without a term; Escape as a
// Cancel would.
TEST_F(ContextSheetTest, DoneAndEscapeCloseAndDropBlankGlossaryRows) {
    struct Case {
        const char* name;
        std::function<void(ContextSheet&)> close;
        QDialog::DialogCode result;
    };
    const std::vector<Case> cases{
        {"Done", [](ContextSheet& sheet) { sheet.findChild<QPushButton*>("contextDone")->click(); },
         QDialog::Accepted},
        {"Escape in a field",
         [](ContextSheet& sheet) {
             QTest::keyClick(sheet.findChild<QLineEdit*>("glossaryTerm_2"), Qt::Key_Escape);
         },
         QDialog::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = appWith({"A"});
        auto workspace = openGerman(app);
        // The notes file of the case before is read again.
        workspace->setNotes(AppNotes{});
        ContextSheet sheet(*workspace);
        sheet.show();
        auto* add = sheet.findChild<QPushButton*>("addGlossaryTerm");
        add->click();
        add->click();
        add->click();
        ASSERT_EQ(workspace->notes().glossary.size(), 3u);
        QTest::keyClicks(sheet.findChild<QLineEdit*>("glossaryTerm_1"), "  ");
        QTest::keyClicks(sheet.findChild<QLineEdit*>("glossaryTerm_2"), "pin");
        c.close(sheet);
        EXPECT_FALSE(sheet.isVisible());
        EXPECT_EQ(sheet.result(), c.result);
        ASSERT_EQ(workspace->notes().glossary.size(), 1u);
        EXPECT_EQ(workspace->notes().glossary[0].term, "pin");
    }
}

} // namespace
} // namespace orvel
