#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Orvel/state/WorkspaceFilter.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

using testing::WorkspaceTest;

TEST_F(WorkspaceTest, ObservedFieldsNotifyOnlyWhenTheValueChangesUnlessAlwaysObserved) {
    struct Case {
        const char* name;
        void (Workspace::*signal)();
        std::function<void(Workspace&)> assign;
        // Notifications of the field, and of the string list, after one and after two equal assignments.
        int once;
        int twice;
        int listTwice;
    };
    const TranslatableApp app = makeApp();
    TranslatableApp newerCopy = app;
    newerCopy.version = "2.0";
    TranslatableApp otherCopy = app;
    otherCopy.bundleURL = app.bundleURL.parent_path() / "Notes 2.app";
    AppState state;
    state.language = "de";
    TranslationProject project;
    project.language = "de";
    ContextMap context;
    context.occurrences["Main\x1FOpen"] = {Occurrence{.screen = "Main", .role = "button"}};

    const std::vector<Case> cases{
        {"app at the same bundle location", &Workspace::appChanged,
         [&](Workspace& w) { w.setApp(newerCopy); }, 0, 0, 0},
        {"app at another bundle location", &Workspace::appChanged, [&](Workspace& w) { w.setApp(otherCopy); },
         1, 1, 0},
        {"strings", &Workspace::stringsChanged,
         [&](Workspace& w) {
             engine.scriptedStrings = {testing::sourceString("Save", "Save")};
             w.reloadStrings();
         },
         1, 1, 3},
        {"languages", &Workspace::languagesChanged,
         [](Workspace& w) {
             w.setLanguages({"de", "fr"});
         },
         1, 1, 0},
        {"language", &Workspace::languageChanged, [](Workspace& w) { w.setLanguage("fr"); }, 1, 1, 0},
        {"project", &Workspace::projectChanged, [&](Workspace& w) { w.setProject(project); }, 1, 2, 2},
        {"context", &Workspace::contextChanged, [&](Workspace& w) { w.setContext(context); }, 1, 2, 2},
        {"notes", &Workspace::notesChanged,
         [](Workspace& w) {
             w.setNotes(AppNotes{"Short.", {}});
         },
         1, 1, 0},
        {"filter", &Workspace::filterChanged, [](Workspace& w) { w.setFilter(WorkspaceFilter::edited); }, 1,
         1, 1},
        {"checklist", &Workspace::checklistOpenChanged, [](Workspace& w) { w.setChecklistOpen(true); }, 1, 1,
         0},
        {"search", &Workspace::searchChanged, [](Workspace& w) { w.setSearch("ok"); }, 1, 1, 1},
        {"selection", &Workspace::selectionChanged,
         [](Workspace& w) {
             w.setSelection({"a", "b"});
         },
         1, 1, 0},
        {"problem", &Workspace::problemChanged,
         [](Workspace& w) { w.setProblem(WorkspaceProblem::failed("The disk is full.")); }, 1, 1, 0},
        {"translating", &Workspace::translatingChanged, [](Workspace& w) { w.setTranslating(true); }, 1, 1,
         0},
        {"progress", &Workspace::progressChanged,
         [](Workspace& w) { w.setProgress(Workspace::Progress{.done = 1, .total = 2, .failed = 0}); }, 1, 2,
         0},
        {"capturing", &Workspace::capturingChanged, [](Workspace& w) { w.setCapturing(true); }, 1, 1, 0},
        {"published state", &Workspace::appStateChanged, [&](Workspace& w) { w.setAppState(state); }, 1, 1,
         0},
        {"changes", &Workspace::changesChanged, [](Workspace& w) { w.setChanges(StringChanges{}); }, 1, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine.scriptedStrings = {testing::sourceString("Open", "Open")};
        const auto workspace = open(app);
        testing::processPendingEvents();
        QSignalSpy field(workspace.get(), c.signal);
        QSignalSpy list(workspace.get(), &Workspace::stringListChanged);
        c.assign(*workspace);
        EXPECT_EQ(field.count(), c.once);
        c.assign(*workspace);
        EXPECT_EQ(field.count(), c.twice);
        EXPECT_EQ(list.count(), c.listTwice);
    }
}

TEST(WorkspaceFilter, RawValuesAreTheCaseNamesInListOrder) {
    std::vector<std::string> names;
    for (WorkspaceFilter filter : allFilters) {
        names.emplace_back(rawValue(filter));
        EXPECT_EQ(workspaceFilter(names.back()), filter);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"all", "untranslated", "changed", "problems", "edited"}));
    for (const char* unknown : {"", "All", "all ", "none"})
        EXPECT_FALSE(workspaceFilter(unknown).has_value()) << unknown;
}

} // namespace
} // namespace orvel
