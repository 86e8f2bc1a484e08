#include "Orvel/views/StringsView.h"

#include "Orvel/views/FilterField.h"
#include "Orvel/views/LivePill.h"
#include "Orvel/views/Palette.h"
#include "Orvel/views/PillButton.h"
#include "Orvel/views/StringsAlerts.h"
#include "Orvel/views/StringsTable.h"
#include "Orvel/views/StringsTableModel.h"
#include "Orvel/views/StringsToolbar.h"
#include "tests/Orvel/views/StringsViewFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

namespace orvel {
namespace {

class StringsViewTests : public testing::StringsViewTest {
  protected:
    // The menu's entries top to bottom, "-" for a divider.
    std::vector<QString> menuEntries() const {
        std::vector<QString> entries;
        for (QAction* action : view->toolbar()->languageMenu()->actions())
            entries.push_back(action->isSeparator() ? QStringLiteral("-") : action->text());
        return entries;
    }
    PillButton* languagePill() const { return view->findChild<PillButton*>("languageMenu"); }
    void pressAlertButton(const QString& text) {
        QMessageBox* box = view->alerts()->current();
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            if (button->text() == text) {
                button->click();
                return;
            }
        FAIL() << "no button " << text.toStdString();
    }
};

TEST_F(StringsViewTests, LanguageMenuListsTheLanguagesThenADividerThenNewLanguage) {
    struct Case {
        const char* name;
        std::vector<std::string> languages;
        bool chooseNone;
        QString label;
        std::vector<QString> entries;
        bool liveEnabled;
    };
    const std::vector<Case> cases{
        {"no languages", {}, false, "New Language…", {"New Language…"}, false},
        {"languages, none chosen",
         {"de", "fr"},
         true,
         "New Language…",
         {"Deutsch", "Français", "-", "New Language…"},
         false},
        {"one chosen", {"de", "fr"}, false, "Deutsch", {"Deutsch", "Français", "-", "New Language…"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        defaults.remove("language." + std::string(bundleID));
        build(c.languages);
        if (c.chooseNone)
            workspace->selectLanguage(std::nullopt);
        EXPECT_EQ(languagePill()->label(), c.label);
        EXPECT_EQ(menuEntries(), c.entries);
        EXPECT_EQ(view->findChild<LivePill*>("livePill")->isEnabled(), c.liveEnabled);
    }
}

TEST_F(StringsViewTests, MenuChoosesTheLanguageAndLiveAsksForTheShownOne) {
    build({"de", "fr"});
    std::vector<std::optional<std::string>> asked;
    view->setLiveSwitch([&](std::optional<std::string> language) { asked.push_back(std::move(language)); });
    view->toolbar()->languageMenu()->actions().at(1)->trigger();
    EXPECT_EQ(workspace->language(), "fr");
    EXPECT_EQ(languagePill()->label(), "Français");

    auto* live = view->findChild<LivePill*>("livePill");
    live->click();
    // The pill waits for the app to show the language; it never turns itself on.
    EXPECT_FALSE(live->isOn());
    AppState shown;
    shown.language = "fr";
    // Only a running copy's state is live.
    testing::WorkspaceTest::platform.running = {workspace->app().bundleURL};
    workspace->setAppState(shown);
    EXPECT_TRUE(live->isOn());
    live->click();
    EXPECT_EQ(asked, (std::vector<std::optional<std::string>>{"fr", std::nullopt}));
}

TEST_F(StringsViewTests, DismissingAnAlertActsAndClearsOnlyTheProblemItShowed) {
    struct Case {
        const char* name;
        WorkspaceProblem problem;
        QString button;
        std::vector<std::string> calls;
    };
    const std::string bundle = "launchApp ";
    const std::vector<Case> cases{
        {"accessibility",
         WorkspaceProblem::accessibility(),
         "Turn On Accessibility",
         {"openAccessibilitySettings"}},
        {"accessibility cancelled", WorkspaceProblem::accessibility(), "Cancel", {}},
        {"not running", WorkspaceProblem::notRunning(), "Open Notes", {"launchApp"}},
        {"failed", WorkspaceProblem::failed(""), "OK", {}},
        {"unsupported language",
         WorkspaceProblem::unsupportedLanguage("de"),
         "Open Settings",
         {"openSettings"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        platform.calls.clear();
        view->show();
        workspace->setProblem(c.problem);
        ASSERT_NE(view->alerts()->current(), nullptr);
        EXPECT_EQ(view->alerts()->current()->windowModality(), Qt::WindowModal);
        pressAlertButton(c.button);
        for (std::string& call : platform.calls)
            if (call.starts_with(bundle)) {
                EXPECT_EQ(call, bundle + app.bundleURL.string());
                call = "launchApp";
            }
        EXPECT_EQ(platform.calls, c.calls);
        EXPECT_EQ(workspace->problem(), std::nullopt);
        EXPECT_EQ(view->alerts()->current(), nullptr);
    }
}

TEST_F(StringsViewTests, AnAlertOvertakenByANewerProblemLeavesItStanding) {
    build();
    view->show();
    workspace->setProblem(WorkspaceProblem::notRunning());
    QPointer<QMessageBox> first = view->alerts()->current();
    workspace->setProblem(WorkspaceProblem::failed("disk full"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    EXPECT_EQ(workspace->problem(), WorkspaceProblem::failed("disk full"));
    ASSERT_NE(view->alerts()->current(), nullptr);
    EXPECT_EQ(view->alerts()->current()->informativeText(), "disk full");
    EXPECT_TRUE(platform.calls.empty());
}

TEST_F(StringsViewTests, FindFocusesTheFilterWithTableOrChecklist) {
    for (bool checklist : {false, true}) {
        SCOPED_TRACE(checklist ? "checklist" : "table");
        build();
        workspace->setChecklistOpen(checklist);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        view->table()->setFocus();
        QTest::keySequence(view.get(), QKeySequence::Find);
        EXPECT_TRUE(view->toolbar()->filterField()->isFieldFocused());
        EXPECT_EQ(view->findChild<QWidget*>("inspectorPlaceholder")->isVisible(), !checklist);
    }
}

TEST_F(StringsViewTests, DataTextsAreShownLiterally) {
    const std::string name = "<b>Notes</b> & Co";
    build({"de"}, name);
    const QString literal = QString::fromStdString(name);
    QLabel* label = view->findChild<QLabel*>("appName");
    EXPECT_EQ(label->text(), literal);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(view->findChild<LivePill*>("livePill")->label(), "Live in " + literal);
    workspace->setProblem(WorkspaceProblem::notRunning());
    QMessageBox* box = view->alerts()->current();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), literal + " is not running");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->buttons().size(), 2);
    const QList<QAbstractButton*> buttons = box->buttons();
    EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(),
                            [&](QAbstractButton* b) { return b->text() == "Open <b>Notes</b> && Co"; }));

    engine.scriptedStrings->front().text = "<i>Open</i> & more";
    workspace->reloadStrings();
    StringsTableModel* rows = view->table()->rows();
    const QModelIndex source = rows->index(rows->rowOf(id("a")), StringsTableModel::SourceColumn);
    EXPECT_EQ(source.data().toString(), "<i>Open</i> & more");
    EXPECT_EQ(source.data(Qt::ToolTipRole).toString(), "<p>&lt;i&gt;Open&lt;/i&gt; &amp; more</p>");
}

TEST_F(StringsViewTests, WhereShowsTheSummaryOrNotSeenYet) {
    build();
    ContextMap context;
    context.occurrences[id("a")] = {Occurrence{.screen = "Main Window", .role = "button"}};
    workspace->setContext(context);
    StringsTableModel* rows = view->table()->rows();
    const auto where = [&](const char* key, int role) {
        return rows->index(rows->rowOf(id(key)), StringsTableModel::WhereColumn).data(role);
    };
    EXPECT_EQ(where("a", Qt::DisplayRole).toString(), "Main Window · button");
    EXPECT_EQ(where("a", Qt::ForegroundRole).value<QColor>(), Palette::secondary());
    EXPECT_EQ(where("b", Qt::DisplayRole).toString(), "Not seen yet");
    EXPECT_EQ(where("b", Qt::ForegroundRole).value<QColor>(), Palette::tertiary());
}

TEST(LaunchCommand, StartsTheBundlesExecutableWithNoShellAndNoArguments) {
    testing::ScratchFolder scratch;
    struct Case {
        const char* name;
        std::map<std::string, std::string> info;
        std::optional<std::string> program;
    };
    const std::vector<Case> cases{
        {"plain", {{"CFBundleExecutable", "Notes"}}, "Contents/MacOS/Notes"},
        {"shell characters",
         {{"CFBundleExecutable", "Notes; rm -rf ~ $(x)"}},
         "Contents/MacOS/Notes; rm -rf ~ $(x)"},
        {"no executable", {}, std::nullopt},
        {"leaving the folder", {{"CFBundleExecutable", "../../evil"}}, std::nullopt},
    };
    int made = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bundle = testing::makeBundle(scratch, "App" + std::to_string(made++) + ".app", c.info);
        const std::optional<LaunchCommand> command = launchCommand(bundle);
        ASSERT_EQ(command.has_value(), c.program.has_value());
        if (command) {
            EXPECT_EQ(command->program.toStdString(), (bundle / *c.program).string());
            EXPECT_TRUE(command->arguments.isEmpty());
        }
    }
}

} // namespace
} // namespace orvel
