#include "Orvel/views/TranslationCell.h"

#include "Orvel/views/StringsTable.h"
#include "Orvel/views/StringsTableModel.h"
#include "tests/Orvel/views/StringsViewFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace orvel {
namespace {

using Origin = StringTranslation::Origin;

StringTranslation withPlural(std::optional<std::string> text, std::map<std::string, std::string> forms,
                             Origin origin) {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.plural = std::move(forms);
    translation.origin = origin;
    return translation;
}

TEST(TranslationCell, SymbolColourAndEditingFollowTheTranslation) {
    struct Case {
        const char* name;
        std::optional<StringTranslation> translation;
        TranslationCell::Look look;
    };
    const std::vector<Case> cases{
        {"none", std::nullopt, {Symbol::CircleDashed, false, true}},
        {"empty by the model", testing::translated("", Origin::model), {Symbol::CircleDashed, false, true}},
        {"empty by the person", testing::translated("", Origin::person), {Symbol::CircleDashed, true, true}},
        {"by the model", testing::translated("Öffnen", Origin::model), {Symbol::Sparkles, false, true}},
        {"by the person", testing::translated("Öffnen", Origin::person), {Symbol::Pencil, true, true}},
        {"plural by the model",
         withPlural(std::nullopt, {{"one", "1 Datei"}}, Origin::model),
         {Symbol::Sparkles, false, false}},
        {"plural forms all empty",
         withPlural(std::nullopt, {{"other", ""}}, Origin::person),
         {Symbol::CircleDashed, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StringTranslation* translation = c.translation ? &*c.translation : nullptr;
        EXPECT_EQ(TranslationCell::look(translation), c.look);
        EXPECT_EQ(TranslationCell::statusIcon(translation), c.look.symbol);
    }
}

// The WCAG contrast ratio of `colour`, drawn with its opacity over `background`, against that background.
double contrast(const QColor& colour, const QColor& background) {
    const double alpha = colour.alphaF();
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const auto luminance = [&](double r, double g, double b) {
        return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
    };
    const double drawn = luminance(colour.redF() * alpha + background.redF() * (1 - alpha),
                                   colour.greenF() * alpha + background.greenF() * (1 - alpha),
                                   colour.blueF() * alpha + background.blueF() * (1 - alpha));
    const double under = luminance(background.redF(), background.greenF(), background.blueF());
    return (std::max(drawn, under) + 0.05) / (std::min(drawn, under) + 0.05);
}

TEST(TranslationCell, EverySymbolStandsOutOnEveryRowState) {
    const QPalette palette = QApplication::palette();
    const std::vector<std::pair<const char*, TranslationCell::Look>> looks{
        {"none", {Symbol::CircleDashed, false, true}},
        {"the model's", {Symbol::Sparkles, false, true}},
        {"the person's", {Symbol::Pencil, true, true}},
        {"the person's, empty", {Symbol::CircleDashed, true, true}},
    };
    for (const bool selected : {false, true}) {
        const QColor row = palette.color(selected ? QPalette::Highlight : QPalette::Base);
        for (const auto& [name, look] : looks) {
            SCOPED_TRACE(std::string(name) + (selected ? ", selected" : ""));
            EXPECT_GE(contrast(TranslationCell::symbolColour(look, selected, palette), row), 2.0);
        }
        // The person's mark keeps apart from the model's on both.
        EXPECT_NE(TranslationCell::symbolColour(looks[1].second, selected, palette),
                  TranslationCell::symbolColour(looks[2].second, selected, palette));
    }
}

class TranslationCellTest : public testing::StringsViewTest {
  protected:
    QModelIndex cell(const char* key) {
        StringsTableModel* rows = view->table()->rows();
        const int row = rows->rowOf(id(key));
        return row < 0 ? QModelIndex() : rows->index(row, StringsTableModel::TranslationColumn);
    }
    QLineEdit* openEditor(const char* key) {
        view->table()->edit(cell(key));
        return view->table()->findChild<QLineEdit*>("translationEditor");
    }
};

TEST_F(TranslationCellTest, PluralRowsAreReadOnlyAndOthersEditable) {
    build();
    TranslationProject project = *workspace->project();
    project.translations[id("a")] = withPlural("Öffnen", {{"other", "Öffne alle"}}, Origin::model);
    workspace->setProject(project);
    struct Case {
        const char* key;
        bool editable;
        QString shown;
    };
    for (const Case& c : std::vector<Case>{{"a", false, "Öffnen"}, {"b", true, "Sichern"}, {"c", true, ""}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(cell(c.key).flags().testFlag(Qt::ItemIsEditable), c.editable);
        EXPECT_EQ(cell(c.key).data().toString(), c.shown);
    }
    // While the project is being read or handed over, an edit would have nowhere to go.
    workspace->setProject(std::nullopt);
    for (const char* key : {"a", "b", "c"}) {
        SCOPED_TRACE(std::string(key) + " without a project");
        EXPECT_FALSE(cell(key).flags().testFlag(Qt::ItemIsEditable));
    }
}

// Under a filter that the edit takes the row out of, the row and its editor stay until the editor
// closes, so every keystroke reaches the same translation.
TEST_F(TranslationCellTest, TypingStoresThePersonsTranslationAndKeepsTheRowUntilTheEditorCloses) {
    struct Case {
        const char* name;
        Workspace::Filter filter;
        std::string search;
        const char* key;
        int rowsWhileEditing;
        int rowsAfter;
    };
    const std::vector<Case> cases{
        {"untranslated", Workspace::Filter::untranslated, "", "a", 2, 1},
        {"search matching the old text", Workspace::Filter::all, "Sich", "b", 1, 0},
        {"all", Workspace::Filter::all, "", "c", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        view->show();
        workspace->setFilter(c.filter);
        workspace->setSearch(c.search);
        QPointer<QLineEdit> editor = openEditor(c.key);
        ASSERT_TRUE(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "Neu");
        EXPECT_TRUE(editor);
        EXPECT_EQ(view->table()->rows()->rowCount(), c.rowsWhileEditing);
        const StringTranslation* stored = workspace->translation(id(c.key));
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->text, "Neu");
        EXPECT_EQ(stored->origin, Origin::person);
        EXPECT_EQ(TranslationCell::statusIcon(stored), Symbol::Pencil);

        QTest::keyClick(editor, Qt::Key_Return);
        testing::processPendingEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(editor);
        EXPECT_EQ(view->table()->rows()->rowCount(), c.rowsAfter);
        EXPECT_EQ(workspace->translation(id(c.key))->text, "Neu");
    }
}

TEST_F(TranslationCellTest, ClearingTheFieldRemovesTheTranslation) {
    build();
    view->show();
    QLineEdit* editor = openEditor("b");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Sichern");
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(workspace->translation(id("b")), nullptr);
}

} // namespace
} // namespace orvel
