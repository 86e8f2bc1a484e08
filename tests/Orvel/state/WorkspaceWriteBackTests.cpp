#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/OrvelPaths.h"
#include "engine/apps/OverlayWriter.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::WorkspaceTest;

constexpr const char* openID = "Main\x1FOpen";

std::optional<std::string> storedText(const TranslationProject& project) {
    const auto found = project.translations.find(openID);
    if (found == project.translations.end())
        return std::nullopt;
    return found->second.text;
}

class WorkspaceWriteBackTest : public WorkspaceTest {
  protected:
    // A fresh app opened in German, with no file written for German yet.
    std::unique_ptr<Workspace> openGerman(TranslatableApp& app) {
        fs::remove_all(scratch.path() / "home");
        app = makeApp();
        defaults.set(std::string("language.") + bundleID, std::string("de"));
        return open(app);
    }

    fs::path notesFile(const TranslatableApp& app) const { return app.projectFolder() / "notes.json"; }
};

TEST_F(WorkspaceWriteBackTest, EditsAreWrittenOnceAPauseAfterTheLastOne) {
    struct Case {
        const char* name;
        std::chrono::milliseconds gap;
        int writes;
    };
    const std::vector<Case> cases{
        {"five edits in a quick burst", 100ms, 1},
        {"five edits further apart than the pause", 400ms, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        const auto workspace = openGerman(app);
        EXPECT_TRUE(workspace->languages().empty());
        const int firedBefore = timers.fired;
        for (int i = 0; i < 5; ++i) {
            if (i > 0)
                timers.advance(c.gap);
            workspace->setText("Fassung " + std::to_string(i), openID);
        }
        timers.advance(Workspace::writeBackDelay - 1ms);
        EXPECT_EQ(timers.fired - firedBefore, c.writes - 1);
        timers.advance(1ms);
        EXPECT_EQ(timers.fired - firedBefore, c.writes);

        EXPECT_EQ(storedText(TranslationProject::load(app, "de")), "Fassung 4");
        EXPECT_EQ(storedText(OverlayWriter::read(app, "de")), "Fassung 4");
        EXPECT_EQ(workspace->languages(), std::vector<std::string>{"de"});
        EXPECT_EQ(workspace->problem(), std::nullopt);
    }
}

TEST_F(WorkspaceWriteBackTest, AFailedWriteBackShowsTheFileLayersMessageAndKeepsTheEditForTheNextOne) {
    struct Case {
        const char* name;
        // Where a regular file stands in the way.
        std::function<fs::path(const TranslatableApp&)> blocked;
        bool projectSaved;
    };
    const std::vector<Case> cases{
        {"the overlay folder",
         [](const TranslatableApp& app) { return OrvelPaths::lproj("de", app.dataFolder()); }, true},
        {"the project folder", [](const TranslatableApp& app) { return app.projectFolder(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        const auto workspace = openGerman(app);
        const fs::path blocked = c.blocked(app);
        fs::remove_all(blocked);
        fs::create_directories(blocked.parent_path());
        StringsFiles::writeAtomically("in the way", blocked);

        workspace->setText("Neu", openID);
        timers.advance(Workspace::writeBackDelay);
        ASSERT_TRUE(workspace->problem());
        EXPECT_EQ(workspace->problem()->kind, WorkspaceProblem::Kind::failed);
        EXPECT_NE(workspace->problem()->text.find(blocked.string()), std::string::npos)
            << workspace->problem()->text;
        EXPECT_EQ(storedText(*workspace->project()), "Neu");
        EXPECT_TRUE(workspace->languages().empty());
        EXPECT_EQ(fs::exists(TranslationProject::fileURL(app, "de")), c.projectSaved);
        EXPECT_TRUE(OverlayWriter::read(app, "de").translations.empty());
        // Tables written beside a project file that failed are dropped with it.
        std::error_code listing;
        for (const auto& entry : fs::directory_iterator(OrvelPaths::lproj("de", app.dataFolder()), listing))
            EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();

        fs::remove(blocked);
        workspace->publish();
        EXPECT_EQ(storedText(TranslationProject::load(app, "de")), "Neu");
        EXPECT_EQ(storedText(OverlayWriter::read(app, "de")), "Neu");
    }
}

TEST_F(WorkspaceWriteBackTest, NotesAreSavedOnceAPauseAfterTheirLastChange) {
    struct Case {
        const char* name;
        std::vector<std::string> texts;
        std::chrono::milliseconds gap;
        int writes;
    };
    const std::vector<Case> cases{
        {"two changes within the pause", {"Kurz.", "Knapp."}, 200ms, 1},
        {"two changes further apart", {"Kurz.", "Knapp."}, 600ms, 2},
        {"notes equal to the current ones", {""}, 200ms, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        const auto workspace = openGerman(app);
        const int firedBefore = timers.fired;
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            if (i > 0)
                timers.advance(c.gap);
            workspace->setNotes(AppNotes{c.texts[i], {}});
        }
        timers.advance(Workspace::notesSaveDelay);
        EXPECT_EQ(timers.fired - firedBefore, c.writes);
        EXPECT_EQ(fs::exists(notesFile(app)), c.writes > 0);
        if (c.writes > 0) {
            EXPECT_EQ(AppNotes::load(app).notes, c.texts.back());
        }
    }
}

TEST_F(WorkspaceWriteBackTest, AGlossaryChangeEmptiesTheProblemChecksAndANotesTextChangeKeepsThem) {
    struct Case {
        const char* name;
        AppNotes notes;
        bool checksKept;
    };
    const std::vector<Case> cases{
        {"the notes text", AppNotes{"Kurz.", {}}, true},
        {"a glossary entry", AppNotes{"", {AppManifest::Term{"Open", std::nullopt, false}}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        const auto workspace = openGerman(app);
        TranslationProject project = *workspace->project();
        project.translations[openID] = testing::translated("Offen");
        project.terms["Open"] = "Aufmachen";
        workspace->setProject(project);
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        ASSERT_EQ(workspace->problemCache().size(), 1u);

        workspace->setNotes(c.notes);
        EXPECT_EQ(workspace->problemCache().size(), c.checksKept ? 1u : 0u);
        EXPECT_TRUE(workspace->problemsReady());
    }
}

TEST_F(WorkspaceWriteBackTest, PendingWritesAreFlushedBeforeALanguageSwitchAndOnRequest) {
    struct Case {
        const char* name;
        bool edited;
        std::function<void(std::unique_ptr<Workspace>&)> action;
        bool projectWritten;
        bool notesWritten;
    };
    const std::vector<Case> cases{
        {"choosing another language writes the edit first", true,
         [](std::unique_ptr<Workspace>& w) { w->selectLanguage("fr"); }, true, false},
        {"flush writes the edit and the notes", true, [](std::unique_ptr<Workspace>& w) { w->flush(); }, true,
         true},
        {"flush with nothing pending", false, [](std::unique_ptr<Workspace>& w) { w->flush(); }, false,
         false},
        {"the workspace ending writes the edit and the notes", true,
         [](std::unique_ptr<Workspace>& w) { w.reset(); }, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        auto workspace = openGerman(app);
        if (c.edited) {
            workspace->setText("Neu", openID);
            workspace->setNotes(AppNotes{"Kurz.", {}});
        }
        c.action(workspace);

        EXPECT_EQ(fs::exists(TranslationProject::fileURL(app, "de")), c.projectWritten);
        if (c.projectWritten) {
            EXPECT_EQ(storedText(TranslationProject::load(app, "de")), "Neu");
            EXPECT_EQ(storedText(OverlayWriter::read(app, "de")), "Neu");
        }
        EXPECT_EQ(fs::exists(notesFile(app)), c.notesWritten);

        // Nothing is written twice, and the newly chosen project is not written in the old one's place.
        const int firedBefore = timers.fired;
        timers.advance(1s);
        EXPECT_EQ(timers.fired - firedBefore, c.edited && !c.notesWritten ? 1 : 0);
        EXPECT_FALSE(fs::exists(TranslationProject::fileURL(app, "fr")));
    }
}

TEST_F(WorkspaceWriteBackTest, BatchesThatLandTogetherAreWrittenOnceAndNeverLeftBehind) {
    struct Case {
        const char* name;
        std::function<void(std::unique_ptr<Workspace>&)> action;
    };
    const std::vector<Case> cases{
        {"the main thread's next turn", [](std::unique_ptr<Workspace>&) { testing::processPendingEvents(); }},
        {"choosing another language first", [](std::unique_ptr<Workspace>& w) { w->selectLanguage("fr"); }},
        {"a flush first", [](std::unique_ptr<Workspace>& w) { w->flush(); }},
        {"the workspace ending first", [](std::unique_ptr<Workspace>& w) { w.reset(); }},
    };
    const std::string closeID = SourceString::id("Main", "Close");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslatableApp app;
        auto workspace = openGerman(app);
        workspace->applyBatch({{openID, testing::translated("Öffnen")}}, {}, "de");
        workspace->applyBatch({{closeID, testing::translated("Schließen")}}, {}, "de");
        c.action(workspace);
        testing::processPendingEvents();

        const TranslationProject stored = TranslationProject::load(app, "de");
        EXPECT_EQ(storedText(stored), "Öffnen");
        EXPECT_TRUE(stored.translations.contains(closeID));
    }
}

// Batches merged while the last ones are still being written are written once that write ends, joined
// into one write. (A flush or the workspace's end waits for the write under way, which a held write
// never ends; that they write waiting batches at once is the table above.)
TEST_F(WorkspaceWriteBackTest, BatchesMergedDuringAWriteAreWrittenOnceItEnds) {
    struct Case {
        const char* name;
        int batchesDuringTheWrite;
        int writes;
    };
    const std::vector<Case> cases{
        {"none", 0, 1},
        {"one", 1, 2},
        {"three", 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        const TranslatableApp app = makeApp({{"Open", ""}, {"Close", ""}, {"Save", ""}, {"Quit", ""}});
        defaults.set(std::string("language.") + bundleID, std::string("de"));
        // The load runs at once; each write waits until the test lets it go, until the workspace ends.
        std::vector<std::function<std::function<void()>()>> held;
        int writes = 0;
        bool holding = false;
        Services heldServices = services();
        heldServices.runFileWork = [&](QObject*, std::function<std::function<void()>()> work) {
            if (holding) {
                ++writes;
                held.push_back(std::move(work));
            } else if (std::function<void()> then = work()) {
                then();
            }
        };
        // A write that kept a core busy is followed by a rest before the next paced one: the writes the
        // case expects are waited for, not taken to be due at once.
        const auto release = [&] {
            while (!held.empty() ||
                   (writes < c.writes && testing::processUntil([&] { return !held.empty(); }))) {
                auto work = std::move(held.front());
                held.erase(held.begin());
                if (std::function<void()> then = work())
                    then();
                testing::processPendingEvents();
            }
        };
        auto workspace = std::make_unique<Workspace>(app, heldServices);
        holding = true;
        const std::vector<std::string> keys{"Open", "Close", "Save", "Quit"};
        workspace->applyBatch({{SourceString::id("Main", keys[0]), testing::translated("de 0")}}, {}, "de");
        testing::processPendingEvents();
        ASSERT_EQ(held.size(), 1u);
        for (int i = 1; i <= c.batchesDuringTheWrite; ++i) {
            const std::string id = SourceString::id("Main", keys[static_cast<std::size_t>(i)]);
            workspace->applyBatch({{id, testing::translated("de " + std::to_string(i))}}, {}, "de");
            testing::processPendingEvents();
        }
        release();
        EXPECT_EQ(writes, c.writes);
        const TranslationProject stored = TranslationProject::load(app, "de");
        for (int i = 0; i <= c.batchesDuringTheWrite; ++i)
            EXPECT_TRUE(
                stored.translations.contains(SourceString::id("Main", keys[static_cast<std::size_t>(i)])))
                << keys[static_cast<std::size_t>(i)];
        holding = false;
        workspace.reset();
    }
}

// The copy that is written takes the recorded English of a large app beside the rest; both the file and
// the workspace keep all of it, small or large.
TEST_F(WorkspaceWriteBackTest, TheWrittenCopyHoldsTheRecordedEnglishAndTheTranslationsOfAnySize) {
    struct Case {
        std::size_t recorded;
        std::size_t translated;
    };
    for (const Case& c : {Case{3, 0}, Case{6000, 0}, Case{0, 12000}, Case{6000, 12000}}) {
        SCOPED_TRACE(std::to_string(c.recorded) + " recorded, " + std::to_string(c.translated) +
                     " translated");
        TranslatableApp app;
        auto workspace = openGerman(app);
        TranslationProject project;
        project.app = bundleID;
        project.language = "de";
        if (c.recorded > 0)
            project.sourceText.emplace();
        for (std::size_t i = 0; i < c.recorded; ++i)
            project.sourceText->emplace(SourceString::id("Main", "k" + std::to_string(i)),
                                        "English " + std::to_string(i));
        for (std::size_t i = 0; i < c.translated; ++i) {
            StringTranslation translation;
            translation.text = "Deutsch " + std::to_string(i);
            project.translations.emplace(SourceString::id("Other", "k" + std::to_string(i)), translation);
        }
        project.save(app);
        workspace = open(app);
        workspace->setText("Öffnen", openID);
        timers.advance(Workspace::writeBackDelay);

        ASSERT_TRUE(workspace->project());
        TranslationProject expected = project;
        expected.translations[openID] = workspace->project()->translations.at(openID);
        const TranslationProject stored = TranslationProject::load(app, "de");
        EXPECT_EQ(storedText(stored), "Öffnen");
        EXPECT_EQ(stored.sourceText, project.sourceText);
        EXPECT_EQ(stored.translations, expected.translations);
        EXPECT_EQ(workspace->project()->sourceText, project.sourceText);
        EXPECT_EQ(workspace->project()->translations, expected.translations);
    }
}

// While a run goes on, each write hands the writer only what changed since the last one; whatever kind of
// change came in between, the file then holds the project exactly as the workspace does.
TEST_F(WorkspaceWriteBackTest, EveryWriteDuringARunHoldsTheProjectAsItStands) {
    const std::string saveID = SourceString::id("Main", "Save");
    const auto inEnglish = [](std::string text, std::string english) {
        StringTranslation translation = testing::translated(std::move(text));
        translation.source = std::move(english);
        return translation;
    };
    struct Step {
        const char* name;
        std::function<void(Workspace&)> change;
    };
    const std::vector<Step> steps{
        {"a batch",
         [&](Workspace& w) {
             w.applyBatch({{openID, inEnglish("Öffnen", "Open")}, {saveID, inEnglish("Sichern", "Save")}}, {},
                          "de");
         }},
        {"the person's edit", [](Workspace& w) { w.setText("Aufmachen", openID); }},
        {"a batch again",
         [&](Workspace& w) {
             w.applyBatch({{saveID, inEnglish("Speichern", "Save")}}, {}, "de");
         }},
        {"a translation cleared", [](Workspace& w) { w.setText("", openID); }},
        {"a term chosen", [](Workspace& w) { w.setTerm("Open", "Öffnen"); }},
        {"the style",
         [](Workspace& w) {
             w.setStyle({TranslationStyle::Terms::translateAll, TranslationStyle::Address::formal});
         }},
        {"a batch after them",
         [&](Workspace& w) {
             w.applyBatch({{openID, inEnglish("Auf", "Open")}}, {}, "de");
         }},
        {"an update's step: retired entries, the recorded English, terms",
         [&](Workspace& w) {
             ProjectDelta step;
             step.translations.emplace(openID, inEnglish("Öffnen", "Open"));
             step.retired.emplace(SourceString::id("Main", "Close"), inEnglish("Schließen", "Close"));
             step.terms = std::map<std::string, std::string>{{"Save", "Sichern"}};
             step.recorded =
                 ProjectDelta::Recorded{std::map<std::string, std::string>{{openID, "Open"}}, "2.0"};
             w.applyUpdate(std::move(step), {}, "de");
             w.publish();
         }},
        {"an update's step that takes entries out",
         [&](Workspace& w) {
             ProjectDelta step;
             step.translations.emplace(saveID, std::nullopt);
             step.retired.emplace(SourceString::id("Main", "Close"), std::nullopt);
             w.applyUpdate(std::move(step), {}, "de");
             w.publish();
         }},
        {"a batch after all of them",
         [&](Workspace& w) {
             w.applyBatch({{saveID, inEnglish("Sichern", "Save")}}, {}, "de");
         }},
    };
    TranslatableApp app;
    auto workspace = openGerman(app);
    ASSERT_TRUE(testing::processUntil([&] { return workspace->project().has_value(); }));
    workspace->setTranslating(true);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.change(*workspace);
        testing::processPendingEvents();
        workspace->flush();
        EXPECT_EQ(TranslationProject::load(app, "de").encoded(), workspace->project()->encoded());
    }
}

} // namespace
} // namespace orvel
