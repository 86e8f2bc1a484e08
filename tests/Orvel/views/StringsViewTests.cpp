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

#include <fstream>
#include <variant>

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

TEST(LaunchCommand, StartsTheBundlesOwnExecutableWithNoShellAndNoArguments) {
    testing::ScratchFolder scratch;
    namespace fs = std::filesystem;
    enum class Program { none, runnable, notRunnable, folder, link };
    struct Case {
        const char* name;
        std::map<std::string, std::string> info;
        Program program;
        std::variant<std::string, LaunchFailure> expected;
    };
    const std::vector<Case> cases{
        {"plain", {{"CFBundleExecutable", "Notes"}}, Program::runnable, "Contents/MacOS/Notes"},
        {"shell characters",
         {{"CFBundleExecutable", "Notes; rm -rf ~ $(x)"}},
         Program::runnable,
         "Contents/MacOS/Notes; rm -rf ~ $(x)"},
        {"no executable named", {}, Program::none, LaunchFailure::noProgram},
        {"leaving the folder",
         {{"CFBundleExecutable", "../../evil"}},
         Program::none,
         LaunchFailure::noProgram},
        {"named but absent", {{"CFBundleExecutable", "Notes"}}, Program::none, LaunchFailure::programMissing},
        {"not executable",
         {{"CFBundleExecutable", "Notes"}},
         Program::notRunnable,
         LaunchFailure::programMissing},
        {"a folder", {{"CFBundleExecutable", "Notes"}}, Program::folder, LaunchFailure::programMissing},
        {"a link to a program",
         {{"CFBundleExecutable", "Notes"}},
         Program::link,
         LaunchFailure::programMissing},
    };
    int made = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bundle = testing::makeBundle(scratch, "App" + std::to_string(made++) + ".app", c.info);
        const fs::path macos = bundle / "Contents" / "MacOS";
        fs::create_directories(macos);
        const auto named = c.info.find("CFBundleExecutable");
        const fs::path program = macos / (named == c.info.end() ? "Notes" : named->second);
        const fs::path elsewhere = scratch / ("program" + std::to_string(made));
        const auto writeScript = [](const fs::path& at) { std::ofstream(at) << "#!/bin/sh\n"; };
        switch (c.program) {
        case Program::none:
            break;
        case Program::runnable:
        case Program::notRunnable:
            writeScript(program);
            if (c.program == Program::runnable)
                fs::permissions(program, fs::perms::owner_exec, fs::perm_options::add);
            break;
        case Program::folder:
            fs::create_directory(program);
            break;
        case Program::link:
            writeScript(elsewhere);
            fs::permissions(elsewhere, fs::perms::owner_exec, fs::perm_options::add);
            fs::create_symlink(elsewhere, program);
            break;
        }
        const std::variant<LaunchCommand, LaunchFailure> command = launchCommand(bundle);
        if (const auto* failure = std::get_if<LaunchFailure>(&c.expected)) {
            ASSERT_TRUE(std::holds_alternative<LaunchFailure>(command));
            EXPECT_EQ(std::get<LaunchFailure>(command), *failure);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<LaunchCommand>(command));
        const LaunchCommand& start = std::get<LaunchCommand>(command);
        EXPECT_EQ(start.program.toStdString(), (bundle / std::get<std::string>(c.expected)).string());
        EXPECT_TRUE(start.arguments.isEmpty());
    }
}

// "Open <app>" that cannot start the app says so, and why, over the screen; a start that happens says
// nothing more.
TEST_F(StringsViewTests, AStartThatCannotHappenTellsWhy) {
    struct Case {
        const char* name;
        std::optional<LaunchFailure> failure;
        const char* because;
    };
    const std::vector<Case> cases{
        {"started", std::nullopt, nullptr},
        {"no program", LaunchFailure::noProgram, "names no program"},
        {"program missing", LaunchFailure::programMissing, "is missing from Contents/MacOS"},
        {"not started", LaunchFailure::notStarted, "did not start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        platform.calls.clear();
        platform.launchFailure = c.failure;
        view->show();
        workspace->setProblem(WorkspaceProblem::notRunning());
        pressAlertButton("Open Notes");
        ASSERT_EQ(platform.calls.size(), 1u);
        QMessageBox* told = view->findChild<QMessageBox*>("launchFailedAlert");
        EXPECT_EQ(workspace->problem(), std::nullopt);
        if (!c.because) {
            EXPECT_EQ(told, nullptr);
            continue;
        }
        ASSERT_NE(told, nullptr);
        EXPECT_TRUE(told->isVisible());
        EXPECT_EQ(told->windowModality(), Qt::WindowModal);
        EXPECT_EQ(told->text(), "Couldn't open Notes");
        EXPECT_TRUE(told->informativeText().contains(c.because)) << told->informativeText().toStdString();
        EXPECT_TRUE(told->informativeText().contains(QString::fromStdString(app.bundleURL.string())));
        told->done(QMessageBox::Ok);
    }
}

} // namespace
} // namespace orvel
