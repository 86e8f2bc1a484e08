#include "Orvel/views/SidebarEmptyState.h"
#include "Orvel/views/SidebarRules.h"
#include "Orvel/views/SidebarSelection.h"
#include "Orvel/views/WorkspacePlaceholder.h"
#include "tests/Orvel/views/ContentViewFixture.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace orvel {
namespace {

using testing::ContentViewTest;
using testing::sourceString;
using enum WorkspaceFilter;

std::vector<SourceString> threeStrings() {
    return {sourceString("a", "Open"), sourceString("b", "Close"), sourceString("c", "Save")};
}

// A project of `language` that knew only the string "a", so the other two are pending.
void writeStaleProject(const TranslatableApp& app) {
    TranslationProject project;
    project.app = app.bundleIdentifier;
    project.language = "de";
    project.sourceText.emplace();
    (*project.sourceText)[SourceString::id("Main", "a")] = "Open";
    project.save(app);
}

TEST_F(ContentViewTest, ClicksAndOutsideChangesMoveTheComputedSelection) {
    struct Case {
        const char* name;
        std::function<void(ContentViewTest&)> act;
        std::string selection;
        WorkspaceFilter filter;
        std::set<std::string> expanded;
        SidebarItem highlighted;
        // The pending badge of "Beta".
        std::optional<QString> betaBadge;
    };
    const std::vector<Case> cases{
        {"nothing done: the first app is open on All",
         [](ContentViewTest&) {},
         "com.alpha",
         all,
         {"com.alpha"},
         {"com.alpha", all},
         "2"},
        {"a click on a collapsed app row chooses it on All and expands it",
         [](ContentViewTest& test) {
             test.library->workspace(test.library->apps()[1]).setFilter(problems);
             test.click({"com.beta", std::nullopt});
         },
         "com.beta",
         all,
         {"com.alpha", "com.beta"},
         {"com.beta", all},
         std::nullopt},
        {"a click on a filter row chooses that filter",
         [](ContentViewTest& test) {
             test.click({"com.alpha", untranslated});
         },
         "com.alpha",
         untranslated,
         {"com.alpha"},
         {"com.alpha", untranslated},
         "2"},
        {"a click on the chosen app's row goes back to All",
         [](ContentViewTest& test) {
             test.click({"com.alpha", edited});
             test.click({"com.alpha", std::nullopt});
         },
         "com.alpha",
         all,
         {"com.alpha"},
         {"com.alpha", all},
         "2"},
        {"collapsing the chosen app keeps the choice",
         [](ContentViewTest& test) {
             test.click({"com.alpha", changed});
             test.toggle("com.alpha");
         },
         "com.alpha",
         changed,
         {},
         {"com.alpha", changed},
         "2"},
        {"a filter set elsewhere leaves a collapsed app collapsed",
         [](ContentViewTest& test) {
             test.toggle("com.alpha");
             test.library->workspace(test.library->apps()[0]).setFilter(edited);
         },
         "com.alpha",
         edited,
         {},
         {"com.alpha", edited},
         "2"},
        {"disclosing an app does not choose it",
         [](ContentViewTest& test) { test.toggle("com.beta"); },
         "com.alpha",
         all,
         {"com.alpha", "com.beta"},
         {"com.alpha", all},
         std::nullopt},
        {"an app chosen elsewhere is shown expanded on its filter",
         [](ContentViewTest& test) {
             test.library->workspace(test.library->apps()[1]).setFilter(edited);
             test.library->setSelection("com.beta");
         },
         "com.beta",
         edited,
         {"com.alpha", "com.beta"},
         {"com.beta", edited},
         std::nullopt},
        {"a filter set elsewhere moves the highlight",
         [](ContentViewTest& test) { test.library->workspace(test.library->apps()[0]).setFilter(problems); },
         "com.alpha",
         problems,
         {"com.alpha"},
         {"com.alpha", problems},
         "2"},
    };
    engine.scriptedStrings = threeStrings();
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const TranslatableApp beta = named("com.beta", "Beta", "Beta");
        writeStaleProject(beta);
        scan({named("com.alpha", "Alpha", "Alpha"), beta});
        show();
        // The allocator may hand a freed detail's address to the next one: follow the old one itself.
        const QPointer<QWidget> detailBefore(view->detail());
        ASSERT_FALSE(detailBefore.isNull());
        row.act(*this);

        EXPECT_EQ(library->selection(), row.selection);
        const TranslatableApp* chosen = findApp(library->apps(), row.selection);
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(library->workspace(*chosen).filter(), row.filter);
        EXPECT_EQ(model().expanded(), row.expanded);
        for (const TranslatableApp& app : library->apps()) {
            SCOPED_TRACE(app.name);
            EXPECT_EQ(list().isExpanded(model().indexOf({app.bundleIdentifier, std::nullopt})),
                      row.expanded.contains(app.bundleIdentifier));
        }
        EXPECT_EQ(highlighted(), std::vector<SidebarItem>{row.highlighted});
        const QVariant badge = model().indexOf({"com.beta", std::nullopt}).data(SidebarModel::badgeRole);
        EXPECT_EQ(badge.isValid() ? std::optional(badge.toString()) : std::nullopt, row.betaBadge);

        auto* detail = qobject_cast<WorkspacePlaceholder*>(view->detail());
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->workspace(), &library->workspace(*chosen));
        // The same app keeps its detail; another app gets a new one, and the old one is gone.
        const bool sameApp = row.selection == "com.alpha";
        EXPECT_EQ(detailBefore.isNull(), !sameApp);
        if (sameApp) {
            EXPECT_EQ(detail, detailBefore.data());
        }
    }
}

TEST_F(ContentViewTest, AChoiceOutsideTheListShowsNothingAndOpensNoWorkspace) {
    struct Case {
        const char* name;
        std::optional<std::string> selection;
    };
    const std::vector<Case> cases{
        {"an app that is not in the list", "com.gone"},
        {"an empty choice", ""},
        {"no choice", std::nullopt},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        scan({named("com.alpha", "Alpha", "Alpha"), named("com.beta", "Beta", "Beta")});
        library->setSelection(row.selection);
        const int loadsBefore = engine.loads;
        show();
        EXPECT_EQ(engine.loads, loadsBefore) << "a workspace was opened";
        EXPECT_TRUE(highlighted().empty());
        EXPECT_EQ(view->detail(), nullptr);
        EXPECT_EQ(view->findChild<QStackedWidget*>("detailStack")->currentWidget()->objectName(),
                  "emptyDetail");

        // Choosing a listed app afterwards shows it; choosing the stray one again empties the detail.
        library->setSelection("com.beta");
        EXPECT_NE(view->detail(), nullptr);
        library->setSelection(row.selection);
        EXPECT_EQ(view->detail(), nullptr);
        EXPECT_TRUE(highlighted().empty());
    }
}

TEST_F(ContentViewTest, TheEmptyStateShowsExactlyWhileNoAppIsKnown) {
    struct Case {
        const char* name;
        std::vector<TranslatableApp> apps;
        bool emptyState;
    };
    const std::vector<Case> cases{
        {"no apps", {}, true},
        {"one app", {named("com.alpha", "Alpha", "Alpha")}, false},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        scan(row.apps);
        show();
        opened.clear();
        SidebarEmptyState* state = view->sidebar()->emptyState();
        EXPECT_EQ(state->isVisible(), row.emptyState);
        EXPECT_EQ(state->title()->text(), "No translatable apps");
        EXPECT_EQ(state->helpLink()->text(), "Apps that work with Orvel");
        EXPECT_EQ(view->detail() == nullptr, row.emptyState);
        if (!row.emptyState)
            continue;
        QTest::mouseClick(state->helpLink(), Qt::LeftButton);
        EXPECT_EQ(opened, std::vector<QUrl>{appsHelpAddress()});

        // The first app found takes the empty state away.
        engine.install({named("com.alpha", "Alpha", "Alpha")});
        rescan();
        EXPECT_FALSE(state->isVisible());
        EXPECT_EQ(model().rowCount(), 1);
    }
}

TEST_F(ContentViewTest, AppNamesAreShownAsTheyAre) {
    const QString name = "<b>A&B</b>";
    scan({named("com.markup", name.toStdString(), "Markup")});
    show();
    EXPECT_EQ(model().indexOf({"com.markup", std::nullopt}).data(Qt::DisplayRole).toString(), name);
    const QLabel* shown = qobject_cast<WorkspacePlaceholder*>(view->detail())->appName();
    EXPECT_EQ(shown->text(), name);
    EXPECT_EQ(shown->textFormat(), Qt::PlainText);
}

TEST_F(ContentViewTest, FilterBadgesFollowTheWorkspace) {
    engine.scriptedStrings = threeStrings();
    const TranslatableApp alpha = named("com.alpha", "Alpha", "Alpha");
    writeStaleProject(alpha);
    scan({alpha});
    show();
    Workspace& workspace = library->workspace(library->apps()[0]);
    ASSERT_TRUE(workspace.project());
    settle();
    const auto badges = [&] {
        std::vector<std::optional<QString>> shown;
        for (WorkspaceFilter filter : allFilters) {
            const QVariant badge = model().indexOf({"com.alpha", filter}).data(SidebarModel::badgeRole);
            shown.push_back(badge.isValid() ? std::optional(badge.toString()) : std::nullopt);
        }
        return shown;
    };
    using Badges = std::vector<std::optional<QString>>;
    EXPECT_EQ(badges(), (Badges{"3", "3", "2", std::nullopt, std::nullopt}));

    int changedRows = 0;
    QObject::connect(&model(), &SidebarModel::dataChanged, [&] { ++changedRows; });
    workspace.setText("Sichern", SourceString::id("Main", "c"));
    EXPECT_GT(changedRows, 0);
    EXPECT_EQ(badges(), (Badges{"3", "2", "1", std::nullopt, "1"}));

    // A collapsed app's rows show no count.
    toggle("com.alpha");
    EXPECT_EQ(badges(), (Badges(5, std::nullopt)));
}

} // namespace
} // namespace orvel
