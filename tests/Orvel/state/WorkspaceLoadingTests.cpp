#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/OrvelPaths.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using testing::WorkspaceTest;

using Codes = std::vector<std::string>;

AppState stateWith(std::optional<std::string> language, EngineFacade::SeenLists seen = {}) {
    AppState state;
    state.language = std::move(language);
    state.seen = std::move(seen);
    state.updated = testing::workspaceStart;
    return state;
}

class WorkspaceLoadingTest : public WorkspaceTest {
  protected:
    void writeOverlay(const TranslatableApp& app, const std::string& language) {
        StringsFiles::writeAtomically("\"Open\" = \"x\";\n",
                                      OrvelPaths::lproj(language, app.dataFolder()) / "Main.strings");
    }
};

TEST_F(WorkspaceLoadingTest, StartingLanguageIsTheStoredChoiceThenThePublishedOneThenTheFirstStored) {
    struct Case {
        const char* name;
        std::optional<std::string> storedChoice;
        std::optional<std::string> publishedLanguage;
        Codes projects;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"stored choice first", "fr", "de", {"es"}, "fr"},
        {"published state without a stored choice", std::nullopt, "de", {"es"}, "de"},
        {"first stored language", std::nullopt, std::nullopt, {"it", "es"}, "es"},
        {"nothing at all", std::nullopt, std::nullopt, {}, std::nullopt},
        {"a stored choice that names no language is passed over", "../../evil", "de", {}, "de"},
        {"a published language that names no language is passed over", std::nullopt, "de/../x", {"es"}, "es"},
        {"an empty stored choice is passed over", "", std::nullopt, {"es"}, "es"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        fs::remove_all(scratch.path() / "settings");
        const TranslatableApp app = makeApp();
        if (c.storedChoice)
            defaults.set(std::string("language.") + bundleID, *c.storedChoice);
        if (c.publishedLanguage)
            publishState(app, stateWith(c.publishedLanguage));
        for (const std::string& code : c.projects)
            writeProject(app, code);

        const auto workspace = open(app);
        EXPECT_EQ(workspace->language(), c.expected);
        EXPECT_EQ(workspace->project().has_value(), c.expected.has_value());
        if (workspace->project()) {
            EXPECT_EQ(workspace->project()->language, *c.expected);
        }
        // The choice is remembered for the next start; nothing is written for a code that names no file.
        EXPECT_EQ(defaults.string(std::string("language.") + bundleID),
                  c.expected ? c.expected : c.storedChoice);
    }
}

TEST_F(WorkspaceLoadingTest, StoredLanguagesComeFromProjectFilesAndOverlaysOnceEach) {
    struct Case {
        const char* name;
        Codes projectFiles;
        Codes otherFiles;
        Codes overlays;
        Codes expected;
    };
    const std::vector<Case> cases{
        {"notes and context only", {}, {"notes.json", "context.json"}, {}, {}},
        {"a project and an overlay of one language", {"de"}, {}, {"de"}, {"de"}},
        {"sorted by code",
         {"pt-BR", "fr"},
         {"notes.json"},
         {"de", "zh-Hans"},
         {"de", "fr", "pt-BR", "zh-Hans"}},
        {"leftovers name no language",
         {},
         {".json", "de copy.json", "fr.json.broken", "es.JSON", "._it.json"},
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        const TranslatableApp app = makeApp();
        for (const std::string& code : c.projectFiles)
            writeProject(app, code);
        for (const std::string& name : c.otherFiles)
            StringsFiles::writeAtomically("{}", app.projectFolder() / name);
        for (const std::string& code : c.overlays)
            writeOverlay(app, code);

        const auto workspace = open(app);
        EXPECT_EQ(workspace->languages(), c.expected);
        EXPECT_EQ(workspace->storedLanguages(), c.expected);
        const Codes listed = Workspace::projectLanguages(app);
        EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()),
                  std::set<std::string>(c.projectFiles.begin(), c.projectFiles.end()));
    }
}

TEST_F(WorkspaceLoadingTest, ProjectLanguagesSkipFoldersAndLinks) {
    const TranslatableApp app = makeApp();
    writeProject(app, "de");
    fs::create_directories(app.projectFolder() / "fr.json");
    fs::create_symlink(app.projectFolder() / "de.json", app.projectFolder() / "es.json");
    EXPECT_EQ(Workspace::projectLanguages(app), Codes{"de"});
}

TEST_F(WorkspaceLoadingTest, StateNotificationsReadTheStringsAgainOnlyWhenTheSeenListsChange) {
    struct Step {
        const char* name;
        // Nothing removes the state file.
        std::optional<AppState> published;
        bool expectReload;
    };
    const EngineFacade::SeenLists seenExtra{{"Main", "Extra"}};
    const std::vector<Step> steps{
        {"still no state", std::nullopt, false},
        {"the first state after none", stateWith("de"), true},
        {"another language, the same seen lists", stateWith("fr"), false},
        {"a string seen", stateWith("fr", seenExtra), true},
        {"the same string seen again", stateWith("de", seenExtra), false},
        {"the state is gone", std::nullopt, true},
    };
    const TranslatableApp app = makeApp();
    const auto workspace = open(app);
    ASSERT_EQ(engine.loads, 1);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        fs::remove(app.dataFolder() / OrvelProtocol::stateFile);
        if (step.published)
            publishState(app, *step.published);
        const int loadsBefore = engine.loads;
        postState();
        testing::processPendingEvents();
        EXPECT_EQ(workspace->appState(), step.published);
        EXPECT_EQ(engine.loads - loadsBefore, step.expectReload ? 1 : 0);
        if (step.expectReload) {
            EXPECT_EQ(engine.lastSeen, step.published ? step.published->seen : EngineFacade::SeenLists{});
        }
    }
}

TEST_F(WorkspaceLoadingTest, StateNotificationsOfOtherAppsOrAfterTheWorkspaceEndedAreIgnored) {
    const TranslatableApp app = makeApp();
    auto workspace = open(app);
    publishState(app, stateWith("de"));
    bus.post(
        Notification{.name = std::string(OrvelProtocol::stateNotification), .object = "com.example.Other"});
    testing::processPendingEvents();
    EXPECT_FALSE(workspace->appState().has_value());

    // Delivered, then the workspace ends before the main thread gets to it.
    postState();
    workspace.reset();
    testing::processPendingEvents();
    postState();
    testing::processPendingEvents();
    EXPECT_EQ(engine.loads, 1);
}

TEST_F(WorkspaceLoadingTest, OpeningSavesLoadedNotesOnceHalfASecondLater) {
    struct Case {
        const char* name;
        std::optional<std::string> notesFile;
        bool expectSave;
    };
    const std::vector<Case> cases{
        {"notes are saved back", R"({"notes": "Be brief.", "glossary": []})", true},
        {"no notes file", std::nullopt, false},
        {"an undecodable notes file", "{broken", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        const TranslatableApp app = makeApp();
        const fs::path file = app.projectFolder() / "notes.json";
        if (c.notesFile)
            StringsFiles::writeAtomically(*c.notesFile, file);
        const auto workspace = open(app);
        // Changed behind the workspace's back, so that a save shows.
        const std::string marker = "changed elsewhere";
        if (c.notesFile)
            StringsFiles::writeAtomically(marker, file);

        timers.advance(Workspace::notesSaveDelay - std::chrono::milliseconds(1));
        if (c.notesFile) {
            EXPECT_EQ(testing::readBytes(file), marker);
        }
        timers.advance(std::chrono::milliseconds(1));
        if (c.expectSave) {
            EXPECT_EQ(AppNotes::load(app), workspace->notes());
        } else if (c.notesFile) {
            EXPECT_EQ(testing::readBytes(file), marker);
        } else {
            EXPECT_FALSE(fs::exists(file));
        }
    }
}

TEST_F(WorkspaceLoadingTest, NotesWaitingForTheirSaveAreWrittenWhenTheWorkspaceEnds) {
    struct Case {
        const char* name;
        std::chrono::milliseconds waited;
        // What "notes.json" holds after the workspace ended.
        std::string expected;
    };
    const std::vector<Case> cases{
        {"save pending", std::chrono::milliseconds(100), "Keep it short."},
        {"saved already: nothing more is written", Workspace::notesSaveDelay, "Written elsewhere."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        const TranslatableApp app = makeApp();
        auto workspace = open(app);
        workspace->setNotes(AppNotes{"Keep it short.", {}});
        timers.advance(c.waited);
        AppNotes{"Written elsewhere.", {}}.save(app);
        workspace.reset();
        EXPECT_EQ(AppNotes::load(app).notes, c.expected);
    }
}

TEST_F(WorkspaceLoadingTest, ProblemsAreReadyOnlyAfterARecomputationForTheStillChosenLanguage) {
    struct Case {
        const char* name;
        std::vector<std::optional<std::string>> choices;
        bool expectReady;
    };
    const std::vector<Case> cases{
        {"one language", {"de"}, true},
        {"no language", {std::nullopt}, false},
        {"a language, then none before the first finishes", {"de", std::nullopt}, false},
        {"two languages in a row", {"de", "fr"}, true},
    };
    const TranslatableApp app = makeApp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = open(app);
        testing::processPendingEvents();
        QSignalSpy ready(workspace.get(), &Workspace::problemsReadyChanged);
        for (const auto& choice : c.choices)
            workspace->selectLanguage(choice);
        EXPECT_FALSE(workspace->problemCount().has_value());
        EXPECT_FALSE(workspace->count(Workspace::Filter::problems).has_value());
        if (c.expectReady) {
            ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
            EXPECT_EQ(workspace->problemCount(), 0);
        } else {
            testing::processUntil([&] { return workspace->problemsReady(); }, 300);
            EXPECT_FALSE(workspace->problemsReady());
        }
    }
}

TEST_F(WorkspaceLoadingTest, NewTermsRecomputeTheProblemsAndOtherProjectChangesDoNot) {
    struct Case {
        const char* name;
        std::function<void(TranslationProject&)> change;
        bool expectRecomputation;
    };
    const std::vector<Case> cases{
        {"a new translation", [](TranslationProject& p) { p.translations["x"] = testing::translated("X"); },
         false},
        {"a chosen term", [](TranslationProject& p) { p.terms["Open"] = "Öffnen"; }, true},
    };
    const TranslatableApp app = makeApp();
    writeProject(app, "de");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = open(app);
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        TranslationProject project = *workspace->project();
        c.change(project);
        workspace->setProject(project);
        EXPECT_EQ(workspace->problemsReady(), !c.expectRecomputation);
    }
}

TEST_F(WorkspaceLoadingTest, ChoosingALanguageOpensTheChecklistOnlyForAFreshUnfinishedLanguage) {
    struct Case {
        const char* name;
        std::optional<std::string> language;
        bool translated;
        bool markedDone;
        bool expectOpen;
    };
    const std::vector<Case> cases{
        {"fresh language", "de", false, false, true},
        {"checklist finished before", "de", false, true, false},
        {"a string translated", "de", true, false, false},
        {"no language", std::nullopt, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        fs::remove_all(scratch.path() / "settings");
        const TranslatableApp app = makeApp({{"Open", ""}});
        if (c.translated)
            writeProject(app, "de", {{SourceString::id("Main", "Open"), testing::translated("Öffnen")}});
        if (c.markedDone)
            defaults.set(std::string("checklistDone.") + bundleID + ".de", true);
        const auto workspace = open(app);
        workspace->setChecklistOpen(!c.expectOpen);
        workspace->selectLanguage(c.language);
        EXPECT_EQ(workspace->checklistOpen(), c.expectOpen);
        EXPECT_TRUE(workspace->selection().empty());
    }
}

TEST_F(WorkspaceLoadingTest, TheFilesAreReadOffTheMainThreadAndTakenInOneStep) {
    struct Case {
        const char* name;
        // Chosen before the load arrives, as a deep link does.
        std::optional<std::string> chosenMeanwhile;
        std::string language;
        std::size_t translations;
        // Chosen by adding it, as a deep link to a new language does: its project file is written.
        bool added = false;
    };
    const std::vector<Case> cases{
        {"the stored choice", std::nullopt, "de", 1},
        {"a language chosen before the load arrives stays chosen", "fr", "fr", 0},
        {"the stored language chosen again before the load arrives", "de", "de", 1},
        {"a language added before the load arrives is saved once it does", "it", "it", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        const TranslatableApp app = makeApp();
        writeProject(app, "de", {{"Main\x1FOpen", testing::translated("Öffnen")}});
        defaults.set(std::string("language.") + bundleID, std::string("de"));
        AppNotes notes;
        notes.notes = "Kurz";
        notes.save(app);

        std::vector<std::function<std::function<void()>()>> held;
        Services heldServices = services();
        heldServices.runFileWork = [&](QObject*, std::function<std::function<void()>()> work) {
            held.push_back(std::move(work));
        };
        Workspace workspace(app, heldServices);
        ASSERT_EQ(held.size(), 1u);
        // Until the load arrives the workspace holds its initial values.
        EXPECT_TRUE(workspace.strings().empty());
        EXPECT_TRUE(workspace.languages().empty());
        EXPECT_EQ(workspace.language(), std::nullopt);
        EXPECT_FALSE(workspace.project());
        EXPECT_EQ(workspace.notes(), AppNotes{});
        if (c.added)
            workspace.addLanguage(*c.chosenMeanwhile);
        else if (c.chosenMeanwhile)
            workspace.selectLanguage(c.chosenMeanwhile);

        QSignalSpy strings(&workspace, &Workspace::stringsChanged);
        bool stringsBeforeLanguage = true;
        QObject::connect(&workspace, &Workspace::languageChanged, [&] {
            stringsBeforeLanguage = stringsBeforeLanguage && !workspace.strings().empty();
        });
        // The worker reads the files; its answer is taken on the main thread.
        std::function<void()> answer;
        std::thread worker([&] { answer = held.front()(); });
        worker.join();
        EXPECT_TRUE(workspace.strings().empty());
        answer();
        // The writes the load's answer asked for.
        for (std::size_t write = 1; write < held.size(); ++write)
            if (std::function<void()> then = held[write]())
                then();

        EXPECT_EQ(strings.count(), 1);
        EXPECT_TRUE(stringsBeforeLanguage);
        EXPECT_EQ(workspace.strings().size(), 1u);
        EXPECT_EQ(workspace.languages(), (c.added ? Codes{"de", "it"} : Codes{"de"}));
        EXPECT_EQ(workspace.language(), c.language);
        ASSERT_TRUE(workspace.project());
        EXPECT_EQ(workspace.project()->language, c.language);
        EXPECT_EQ(workspace.project()->translations.size(), c.translations);
        EXPECT_EQ(workspace.notes().notes, "Kurz");
        EXPECT_EQ(fs::exists(TranslationProject::fileURL(app, c.language)), c.added || c.language == "de");
    }
}

} // namespace
} // namespace orvel
