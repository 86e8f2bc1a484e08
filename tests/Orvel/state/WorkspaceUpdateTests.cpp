// Translate Changes of a workspace with the real project updater and the scripted model: the automatic
// start once per language and app version, the end and error paths, and a language switch.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include "Orvel/state/ModelPreferences.h"
#include "core/Cancellation.h"
#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "tests/Orvel/state/FullDisk.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

namespace orvel::testing {
namespace {

class WorkspaceUpdateTest : public WorkspaceRunTest {
  protected:
    // The app at version 1.0 with the strings `keys`, of which the German project translated and recorded
    // `translatedKeys` (nothing recorded when that is empty): the others are new since.
    TranslatableApp updatedApp(const std::vector<std::string>& keys,
                               const std::vector<std::string>& translatedKeys) {
        TranslatableApp app = appWith(keys);
        app.version = "1.0";
        writeRecordedGerman(app, translatedKeys);
        return app;
    }

    // The app after an update of every kind, with the German project from before it: a is unchanged, b
    // reworded, c, f, g and h new, d took dd's translation along (same English), e took ee's along and
    // was reworded, gone's string was removed, k comes back from retirement as it was and m comes back
    // reworded.
    TranslatableApp appAfterEveryKindOfChange() {
        TranslatableApp app = appWith({"a", "b", "c", "d", "e", "f", "g", "h", "k", "m"});
        TranslationProject project;
        project.app = app.bundleIdentifier;
        project.language = "de";
        project.sourceText.emplace();
        const auto madeFrom = [&](const std::string& key, const std::string& english) {
            StringTranslation translation = translated("de " + key);
            translation.source = english;
            project.sourceText->emplace(id(key), english);
            return translation;
        };
        project.translations = {{id("a"), madeFrom("a", "Text a")},
                                {id("b"), madeFrom("b", "Old b")},
                                {id("dd"), madeFrom("dd", "Text d")},
                                {id("ee"), madeFrom("ee", "Text e!")},
                                {id("gone"), madeFrom("gone", "Nothing like any other")}};
        project.retired = {{id("k"), madeFrom("k", "Text k")}, {id("m"), madeFrom("m", "Old m")}};
        project.save(app);
        defaults.set("language." + std::string(bundleID), std::string("de"));
        return app;
    }

    // The app opened in German and updated, with French chosen while the update holds after its first
    // result.
    std::unique_ptr<Workspace> leaveGermanDuringTheUpdate(const TranslatableApp& app) {
        auto workspace = open(app);
        engine.model->holdAfter(1);
        workspace->updateTranslations();
        EXPECT_TRUE(processUntil(
            [&] { return engine.model->held() && workspace->project()->translations.size() == 3; }));
        workspace->selectLanguage("fr");
        return workspace;
    }

    void waitForModel(std::size_t count) {
        ASSERT_TRUE(processUntil(
            [&] { return runs() == count && engine.model->finished() == static_cast<int>(count); }));
    }
};

// After every result the update hands back, the changes and counts shown are those of a whole comparison
// and a whole count of the project as it stands, for every kind of change an update makes and with the
// person's edit over each: nothing waits for the update's end.
TEST_F(WorkspaceUpdateTest, TheChangesAndCountsFollowEveryResultOfTheUpdate) {
    struct Case {
        const char* name;
        // The key the person types over while the update holds after its first result, or none.
        std::optional<std::string> edited;
        std::string text = "Meins";
    };
    const std::vector<Case> cases{
        {"no edit", std::nullopt},
        {"a new string typed", "c"},
        {"a new string the update has yet to send, typed", "h"},
        {"a reworded string typed", "b"},
        {"a reworded string cleared", "b", ""},
        {"a moved string typed", "d"},
        {"a moved and reworded string typed", "e"},
        {"a string back from retirement typed", "k"},
        {"a reworded string back from retirement typed", "m"},
        {"an unchanged string typed", "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = appAfterEveryKindOfChange();
        auto workspace = open(app);
        ASSERT_TRUE(processUntil([&] { return workspace->project().has_value(); }));
        const StringChanges before = workspace->changes();
        ASSERT_EQ(before.toTranslate().size(), 7u);
        ASSERT_EQ(before.moved, (std::vector<StringChanges::Move>{{id("k"), id("k")}, {id("dd"), id("d")}}));
        ASSERT_TRUE(before.removed.contains(id("gone")));
        const std::size_t started = runs();
        engine.model->holdAfter(1);
        workspace->updateTranslations();
        const int total = workspace->progress()->total;
        // The last result ends the update; every one before it is looked at while the update holds.
        for (int result = 1; result * batchSize < total; ++result) {
            SCOPED_TRACE("after result " + std::to_string(result));
            ASSERT_TRUE(processUntil([&] {
                return engine.model->held() && workspace->progress() &&
                       workspace->progress()->done >= std::min(result * batchSize, total);
            }));
            EXPECT_TRUE(processUntil(
                [&] { return matchesWholeComparison(*workspace) && matchesWholeCount(*workspace); }));
            if (result == 1 && c.edited) {
                workspace->setText(c.text, id(*c.edited));
                EXPECT_TRUE(processUntil(
                    [&] { return matchesWholeComparison(*workspace) && matchesWholeCount(*workspace); }));
            }
            engine.model->holdAfter(result + 1);
        }
        engine.model->release();
        waitForModel(started + 1);
        ASSERT_TRUE(processUntil([&] { return !workspace->translating() && workspace->problemsReady(); }));
        processPendingEvents();
        EXPECT_TRUE(matchesWholeComparison(*workspace));
        EXPECT_TRUE(matchesWholeCount(*workspace));
        EXPECT_TRUE(workspace->changes().toTranslate().empty());
        EXPECT_TRUE(workspace->project()->retired.contains(id("gone")));
        if (c.edited) {
            EXPECT_EQ(workspace->project()->translations.contains(id(*c.edited)), !c.text.empty());
        }
        EXPECT_EQ(workspace->project()->toJson(), TranslationProject::load(app, "de").toJson());
    }
}

TEST_F(WorkspaceUpdateTest, StartsByItselfOncePerLanguageAndAppVersion) {
    preferences.setAutoUpdate(true);
    // The new string keeps failing, so the changes stay for every step below.
    engine.model->failing = {id("c")};
    TranslatableApp app = updatedApp({"a", "b", "c"}, {"a", "b"});
    std::unique_ptr<Workspace> workspace;
    struct Step {
        const char* name;
        std::function<void()> action;
        std::size_t expectedRuns;
    };
    const std::vector<Step> steps{
        {"opening the workspace", [&] { workspace = open(app); }, 1},
        {"the changes computed again", [&] { workspace->refreshChanges(); }, 1},
        {"the language chosen again", [&] { workspace->selectLanguage("de"); }, 1},
        {"a new app version",
         [&] {
             app.version = "1.1";
             workspace->setApp(app);
             workspace->refreshChanges();
         },
         2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.action();
        waitForEnd(*workspace);
        EXPECT_EQ(runs(), step.expectedRuns);
        EXPECT_EQ(engine.model->calls().back().ids, std::vector<std::string>{id("c")});
        EXPECT_EQ(workspace->problem(), Workspace::Problem::failed("Text c: rejected c"));
    }
}

TEST_F(WorkspaceUpdateTest, StartsNothingWithoutSomethingToUpdate) {
    struct Case {
        const char* name;
        bool automatic;
        std::vector<std::string> translatedKeys;
        bool byHand;
    };
    const std::vector<Case> cases{
        {"automatic updates off", false, {"a"}, false},
        {"a project never translated", true, {}, false},
        {"nothing changed, by hand", true, {"a", "b"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preferences.setAutoUpdate(c.automatic);
        const TranslatableApp app = updatedApp({"a", "b"}, c.translatedKeys);
        auto workspace = open(app);
        int translatingChanges = 0;
        QObject::connect(workspace.get(), &Workspace::translatingChanged, [&] { ++translatingChanges; });
        if (c.byHand)
            workspace->updateTranslations();
        processPendingEvents();

        EXPECT_EQ(runs(), 0u);
        EXPECT_FALSE(workspace->translating());
        EXPECT_EQ(translatingChanges, 0);
    }
}

TEST_F(WorkspaceUpdateTest, TheEndShowsEveryErrorAndReadsTheProjectAgain) {
    struct Case {
        const char* name;
        std::set<std::string> failing;
        std::exception_ptr error;
        bool stopped;
        std::optional<std::string> expectedProblem;
        std::size_t translatedAfter;
    };
    const std::vector<Case> cases{
        {"success", {}, nullptr, false, std::nullopt, 4},
        {"a failed string", {id("d")}, nullptr, false, "Text d: rejected d", 3},
        {"an error of the model",
         {},
         std::make_exception_ptr(std::runtime_error("The model is down")),
         false,
         "The model is down",
         2},
        {"Stop", {}, nullptr, true, std::string(CancellationError().what()), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = updatedApp({"a", "b", "c", "d"}, {"a", "b"});
        auto workspace = open(app);
        engine.model->failing = c.failing;
        engine.model->error = c.error;
        engine.model->errorAfter = 0;
        const std::size_t before = runs();
        if (c.stopped)
            engine.model->holdAfter(0);

        workspace->updateTranslations();
        EXPECT_TRUE(workspace->translating());
        EXPECT_EQ(workspace->progress()->total, 2);
        if (c.stopped) {
            ASSERT_TRUE(processUntil([&] { return engine.model->held(); }));
            workspace->stop();
        }
        waitForModel(before + 1);
        const std::optional<Workspace::Problem> expected =
            c.expectedProblem ? std::optional(Workspace::Problem::failed(*c.expectedProblem)) : std::nullopt;
        ASSERT_TRUE(
            processUntil([&] { return !workspace->translating() && workspace->problem() == expected; }));
        processPendingEvents();

        EXPECT_FALSE(workspace->translating());
        EXPECT_FALSE(workspace->progress());
        EXPECT_EQ(workspace->project()->translations.size(), c.translatedAfter);
        EXPECT_EQ(workspace->project()->toJson(), TranslationProject::load(app, "de").toJson());
    }
}

// A run and Translate Changes end once the disk holds what they did, however they end and however long
// their writes take: whoever follows the end (the sidebar's count, a reader of the project file) finds
// it there. The last result is written by the end, with the English it records.
TEST_F(WorkspaceUpdateTest, ARunAndAnUpdateEndOnceTheDiskHoldsWhatTheyDid) {
    struct Case {
        const char* name;
        bool update;
        std::set<std::string> failing;
        std::exception_ptr error;
    };
    const std::exception_ptr down = std::make_exception_ptr(std::runtime_error("The model is down"));
    const std::vector<Case> cases{
        {"a run that translated everything", false, {}, nullptr},
        {"a run with a failed string", false, {id("e")}, nullptr},
        {"a run the model broke off after a batch", false, {}, down},
        {"an update that translated everything", true, {}, nullptr},
        {"an update with a failed string", true, {id("e")}, nullptr},
        {"an update the model broke off after a batch", true, {}, down},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = updatedApp({"a", "b", "c", "d", "e"}, {"a"});
        HeldFileWork writes;
        auto workspace = open(app, writes);
        ASSERT_TRUE(processUntil([&] { return workspace->project().has_value(); }));
        writes.holding = true;
        engine.model->failing = c.failing;
        engine.model->error = c.error;
        engine.model->errorAfter = 1;
        std::optional<std::string> diskAtTheEnd;
        std::string projectAtTheEnd;
        QObject::connect(workspace.get(), &Workspace::translatingChanged, [&] {
            if (workspace->translating())
                return;
            diskAtTheEnd = TranslationProject::load(app, "de").toJson().dump();
            projectAtTheEnd = workspace->project()->toJson().dump();
        });
        // The model waits after its first result until that result's write is under way.
        engine.model->holdAfter(1);
        if (c.update)
            workspace->updateTranslations();
        else
            workspace->translate(false);
        ASSERT_TRUE(workspace->translating());
        ASSERT_TRUE(processUntil([&] { return engine.model->held() && !writes.held.empty(); }));
        if (!c.error) {
            // The last result lands while nothing is written: the end writes it, with what it records.
            while (!writes.held.empty())
                writes.releaseOne();
            engine.model->holdAfter(2);
            ASSERT_TRUE(processUntil([&] {
                return engine.model->held() && workspace->progress()->done == workspace->progress()->total;
            }));
            processPendingEvents();
            EXPECT_TRUE(writes.held.empty());
        }
        engine.model->release();
        ASSERT_TRUE(processUntil([&] {
            if (!writes.held.empty())
                writes.releaseOne();
            return diskAtTheEnd.has_value();
        }));
        EXPECT_EQ(*diskAtTheEnd, projectAtTheEnd);
        EXPECT_GT(workspace->project()->translations.size(), 1u);
        while (!writes.held.empty())
            writes.releaseOne();
    }
}

// The checks of a run's end start from the copy its last write makes, beside the write; an edit made
// after that write was asked for, while it waits, is not in the copy and is counted all the same: here
// the person types over a translation left in English.
TEST_F(WorkspaceUpdateTest, TheEndsChecksCountWhatThePersonChangedWhileItsWriteWaited) {
    struct Case {
        const char* name;
        bool update;
        bool edit;
        int problems;
    };
    const Case cases[] = {
        {"a run", false, false, 1},
        {"a run, the row typed over while its last write waits", false, true, 0},
        {"an update", true, false, 1},
        {"an update, the row typed over while its last write waits", true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = updatedApp({"open the file", "b", "c", "d", "e"}, {"open the file"});
        TranslationProject before = TranslationProject::load(app, "de");
        before.translations.at(id("open the file")).text = "Text open the file";
        before.save(app);
        HeldFileWork writes;
        auto workspace = open(app, writes);
        ASSERT_TRUE(processUntil([&] { return workspace->problemsReady(); }));
        ASSERT_EQ(workspace->problemCount(), 1);
        writes.holding = true;
        engine.model->holdAfter(1);
        if (c.update)
            workspace->updateTranslations();
        else
            workspace->translate(false);
        ASSERT_TRUE(processUntil([&] { return engine.model->held() && !writes.held.empty(); }));
        // The last result lands while nothing is written: the end's write is the next one.
        while (!writes.held.empty())
            writes.releaseOne();
        engine.model->release();
        ASSERT_TRUE(processUntil([&] { return !writes.held.empty(); }));
        ASSERT_TRUE(workspace->translating());
        if (c.edit)
            workspace->setText("Meins", id("open the file"));
        ASSERT_TRUE(processUntil([&] {
            if (!writes.held.empty())
                writes.releaseOne();
            return !workspace->translating() && workspace->problemsReady();
        }));
        EXPECT_EQ(workspace->problemCount(), c.problems);
        EXPECT_EQ(workspace->project()->translations.at(id("c")).text, "de:Text c");
        // The edit's own write is made as the workspace closes.
        writes.holding = false;
        while (!writes.held.empty())
            writes.releaseOne();
    }
}

TEST_F(WorkspaceUpdateTest, AResultStillOnItsWayWhenStoppedShowsNoProgress) {
    const TranslatableApp app = updatedApp({"a", "b", "c", "d"}, {"a"});
    auto workspace = open(app);
    engine.model->holdAfter(1);
    // The updater starts at once; nothing is processed on the main thread until after Stop.
    workspace->updateTranslations();
    ASSERT_TRUE(heldWithoutEvents());

    workspace->stop();
    waitForModel(1);
    ASSERT_TRUE(processUntil([&] { return workspace->problem().has_value(); }));
    processPendingEvents();

    // The updater saved what it merged, and the workspace shows that project, but no run's progress.
    EXPECT_FALSE(workspace->translating());
    EXPECT_FALSE(workspace->progress());
    EXPECT_EQ(workspace->project()->translations.size(), 3u);
}

// Results of a stopped update land after the stop; what they change that is not followed row by row (a
// string retired or back from retirement, the recorded English) is compared again.
TEST_F(WorkspaceUpdateTest, AStoppedUpdatesChangesAreComparedAgain) {
    const TranslatableApp app = appAfterEveryKindOfChange();
    auto workspace = open(app);
    engine.model->holdAfter(1);
    workspace->updateTranslations();
    ASSERT_TRUE(heldWithoutEvents());

    workspace->stop();
    ASSERT_TRUE(processUntil([&] { return workspace->problem().has_value(); }));
    ASSERT_TRUE(processUntil([&] { return workspace->changesCurrent(); }));
    const std::vector<SourceString> shown = workspace->changes().toTranslate();
    workspace.reset();

    // As a workspace opened on what the update left compares them.
    auto reopened = open(app);
    ASSERT_TRUE(processUntil([&] { return reopened->changesCurrent(); }));
    EXPECT_EQ(shown, reopened->changes().toTranslate());
}

TEST_F(WorkspaceUpdateTest, ALanguageChosenDuringTheUpdateGetsNothingOfIt) {
    const TranslatableApp app = updatedApp({"a", "b", "c", "d", "e"}, {"a"});
    const auto workspace = leaveGermanDuringTheUpdate(app);
    engine.model->release();
    waitForModel(1);
    ASSERT_TRUE(processUntil([&] { return !workspace->translating(); }));
    processPendingEvents();

    EXPECT_TRUE(workspace->project()->translations.empty());
    EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), 5u);
    EXPECT_FALSE(workspace->problem());
}

// The update goes on writing the project of a language left while it runs; what a full disk refuses of
// it is kept, shown when the language is chosen again and written at the next chance.
TEST_F(WorkspaceUpdateTest, WhatAFullDiskRefusesOfALanguageLeftDuringTheUpdateIsKept) {
    const TranslatableApp app = updatedApp({"a", "b", "c", "d", "e"}, {"a"});
    const auto workspace = leaveGermanDuringTheUpdate(app);

    FullDisk disk;
    engine.model->release();
    waitForModel(1);
    ASSERT_TRUE(processUntil([&] { return !workspace->translating(); }));
    processPendingEvents();
    ASSERT_EQ(workspace->unsavedProjects().size(), 1u);
    EXPECT_EQ(workspace->unsavedProjects().front().language, "de");
    EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), 3u);

    disk.full = false;
    workspace->selectLanguage("de");
    ASSERT_TRUE(workspace->project());
    EXPECT_EQ(workspace->project()->translations.size(), 5u);
    workspace->quit();
    EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), 5u);
    EXPECT_TRUE(workspace->unsavedProjects().empty());
}

// German is left while the update runs, one result is written aside, German is chosen again and a
// string typed, and German is left again: the rest of the update never takes the typed text back, on
// disk or when German is shown once more.
TEST_F(WorkspaceUpdateTest, WhatIsTypedInALanguageChosenAgainDuringTheUpdateStays) {
    struct Case {
        const char* name;
        // Times German is chosen again and left before the string is typed.
        int moreReturns;
    };
    const std::vector<Case> cases{
        {"chosen again once", 0},
        {"left and chosen again once more first", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = updatedApp({"a", "b", "c", "d", "e", "f", "g"}, {"a"});
        auto workspace = open(app);
        const int before = engine.model->delivered();
        engine.model->holdAfter(1);
        workspace->updateTranslations();
        ASSERT_TRUE(processUntil(
            [&] { return engine.model->held() && workspace->project()->translations.size() == 3; }));
        workspace->selectLanguage("fr");
        engine.model->holdAfter(2);
        ASSERT_TRUE(
            processUntil([&] { return engine.model->held() && engine.model->delivered() == before + 2; }));
        processPendingEvents();
        for (int round = 0; round < c.moreReturns; ++round) {
            workspace->selectLanguage("de");
            workspace->selectLanguage("fr");
        }
        workspace->selectLanguage("de");
        ASSERT_EQ(workspace->project()->translations.size(), 5u);
        workspace->setText("Meins", id("b"));
        workspace->selectLanguage("fr");

        engine.model->release();
        ASSERT_TRUE(processUntil([&] { return !workspace->translating() && !engine.model->held(); }));
        processPendingEvents();
        workspace->waitForWrites();
        const TranslationProject stored = TranslationProject::load(app, "de");
        ASSERT_TRUE(stored.translations.contains(id("b")));
        EXPECT_EQ(stored.translations.at(id("b")).text, "Meins");
        EXPECT_EQ(stored.translations.size(), 7u);
        workspace->selectLanguage("de");
        EXPECT_EQ(workspace->project()->translations.at(id("b")).text, "Meins");
    }
}

TEST_F(WorkspaceUpdateTest, WhatThePersonChangesDuringTheUpdateSurvivesIt) {
    TranslationStyle formal;
    formal.address = TranslationStyle::Address::formal;
    // `done` is a string the update translated in its first result, `coming` one it has yet to send.
    using Edit = std::function<void(Workspace&, const std::string& done, const std::string& coming)>;
    using Check =
        std::function<void(const TranslationProject&, const std::string& done, const std::string& coming)>;
    struct Case {
        const char* name;
        Edit edit;
        Check check;
        std::size_t translatedAfter = 5;
    };
    // The update chooses this term; the person may take it away again.
    engine.model->chosenTerms = {{"Key", "Schlüssel"}};
    const std::vector<Case> cases{
        {"a string the update translated, cleared",
         [](Workspace& w, const std::string& done, const std::string&) { w.setText("", done); },
         [](const TranslationProject& p, const std::string& done, const std::string&) {
             EXPECT_FALSE(p.translations.contains(done));
         },
         4},
        {"an old translation cleared",
         [](Workspace& w, const std::string&, const std::string&) { w.setText("", id("a")); },
         [](const TranslationProject& p, const std::string&, const std::string&) {
             EXPECT_FALSE(p.translations.contains(id("a")));
         },
         4},
        {"the term the update chose, removed",
         [](Workspace& w, const std::string&, const std::string&) { w.setTerm("Key", ""); },
         [](const TranslationProject& p, const std::string&, const std::string&) {
             EXPECT_FALSE(p.terms.contains("Key"));
         }},
        {"a string the update translated, typed over",
         [](Workspace& w, const std::string& done, const std::string&) { w.setText("Meins", done); },
         [](const TranslationProject& p, const std::string& done, const std::string&) {
             EXPECT_EQ(p.translations.at(done).text, "Meins");
         }},
        {"a string the update has yet to translate, typed",
         [](Workspace& w, const std::string&, const std::string& coming) { w.setText("Meins", coming); },
         [](const TranslationProject& p, const std::string&, const std::string& coming) {
             EXPECT_EQ(p.translations.at(coming).text, "Meins");
             EXPECT_EQ(p.translations.at(coming).origin, StringTranslation::Origin::person);
         }},
        {"a plural form of an old translation",
         [](Workspace& w, const std::string&, const std::string&) {
             w.setPluralForm("Eins", "one", id("a"));
         },
         [](const TranslationProject& p, const std::string&, const std::string&) {
             EXPECT_EQ(p.translations.at(id("a")).plural,
                       (std::map<std::string, std::string>{{"one", "Eins"}, {"other", "de a"}}));
         }},
        {"an old translation kept",
         [](Workspace& w, const std::string&, const std::string&) { w.keep(id("a")); },
         [](const TranslationProject& p, const std::string&, const std::string&) {
             EXPECT_EQ(p.translations.at(id("a")).origin, StringTranslation::Origin::person);
         }},
        {"a term chosen",
         [](Workspace& w, const std::string&, const std::string&) { w.setTerm("Text", "Texte"); },
         [](const TranslationProject& p, const std::string&, const std::string&) {
             EXPECT_EQ(p.terms,
                       (std::map<std::string, std::string>{{"Key", "Schlüssel"}, {"Text", "Texte"}}));
         }},
        {"the style changed",
         [&](Workspace& w, const std::string&, const std::string&) { w.setStyle(formal); },
         [&](const TranslationProject& p, const std::string&, const std::string&) {
             EXPECT_EQ(p.style, formal);
         }},
    };
    for (const Case& c : cases)
        for (const bool writtenBack : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (writtenBack ? ", written back" : ", not yet written back"));
            const TranslatableApp app = updatedApp({"a", "b", "c", "d", "e"}, {"a"});
            auto workspace = open(app);
            const std::size_t before = runs();
            engine.model->holdAfter(1);
            workspace->updateTranslations();
            ASSERT_TRUE(processUntil(
                [&] { return engine.model->held() && workspace->project()->translations.size() == 3; }));
            std::string done;
            std::string coming;
            for (const std::string key : {"b", "c", "d", "e"})
                (workspace->project()->translations.contains(id(key)) ? done : coming) = id(key);

            c.edit(*workspace, done, coming);
            if (writtenBack)
                timers.advance(Workspace::writeBackDelay);
            engine.model->release();
            waitForModel(before + 1);
            ASSERT_TRUE(processUntil([&] { return !workspace->translating(); }));
            processPendingEvents();

            c.check(*workspace->project(), done, coming);
            EXPECT_EQ(workspace->project()->translations.size(), c.translatedAfter);
            EXPECT_FALSE(workspace->problem());
            const TranslationProject stored = TranslationProject::load(app, "de");
            c.check(stored, done, coming);
            EXPECT_EQ(workspace->project()->toJson(), stored.toJson());
        }
}

// The person edits, clears and chooses terms while a long update goes on, and each edit is written back
// at once. After every write-back and after every later result of the update, the project file and the
// overlay the running app loads hold every edit written back so far: no write of the update takes one
// back, even for a moment.
TEST_F(WorkspaceUpdateTest, EveryEditWrittenBackStaysOnDiskThroughTheUpdate) {
    std::vector<std::string> keys;
    for (int i = 0; i < 24; ++i)
        keys.push_back("s" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    const TranslatableApp app = updatedApp(keys, {"s00", "s01", "s02"});
    auto workspace = open(app);
    engine.model->holdAfter(1);
    workspace->updateTranslations();
    const int batches = (static_cast<int>(keys.size()) - 3 + batchSize - 1) / batchSize;

    // Key to the text the person gave it (empty: cleared), and the terms chosen or taken away.
    std::map<std::string, std::string> written;
    std::map<std::string, bool> termsWritten;
    const auto checkDisk = [&](const std::string& when) {
        SCOPED_TRACE(when);
        const TranslationProject stored = TranslationProject::load(app, "de");
        const auto overlay =
            StringsFiles::readStrings(OrvelPaths::lproj("de", app.dataFolder()) / "Main.strings");
        for (const auto& [key, text] : written) {
            const auto file = stored.translations.find(id(key));
            const auto shown = overlay.find(key);
            if (text.empty()) {
                EXPECT_EQ(file, stored.translations.end()) << key;
                EXPECT_EQ(shown, overlay.end()) << key;
                continue;
            }
            ASSERT_NE(file, stored.translations.end()) << key;
            EXPECT_EQ(file->second.text, text) << key;
            ASSERT_NE(shown, overlay.end()) << key;
            EXPECT_EQ(shown->second, text) << key;
        }
        for (const auto& [term, chosen] : termsWritten)
            EXPECT_EQ(stored.terms.contains(term), chosen) << term;
    };
    for (int step = 1; step < batches; ++step) {
        ASSERT_TRUE(processUntil([&] {
            return engine.model->held() && workspace->progress() &&
                   workspace->progress()->done >=
                       std::min(step * batchSize, static_cast<int>(keys.size()) - 3);
        }));
        processPendingEvents();
        checkDisk("after result " + std::to_string(step));
        // One string the update already sent, one it has yet to send, and an old one cleared or typed.
        const std::string sent = keys[static_cast<std::size_t>(3 + (step - 1) * batchSize)];
        const std::string coming = keys[keys.size() - static_cast<std::size_t>(step)];
        const std::string old = keys[static_cast<std::size_t>(step % 3)];
        workspace->setText("Meins " + std::to_string(step), id(sent));
        workspace->setText("Später " + std::to_string(step), id(coming));
        const std::string oldText = step % 2 ? "" : "Alt " + std::to_string(step);
        workspace->setText(oldText, id(old));
        const std::string term = "Term " + std::to_string(step % 3);
        const bool chosen = step % 2 == 1;
        workspace->setTerm(term, chosen ? "Begriff" : "");
        timers.advance(Workspace::writeBackDelay);
        written[sent] = "Meins " + std::to_string(step);
        written[coming] = "Später " + std::to_string(step);
        written[old] = oldText;
        termsWritten[term] = chosen;
        checkDisk("after the write-back of step " + std::to_string(step));
        engine.model->holdAfter(step + 1);
    }
    engine.model->release();
    waitForModel(1);
    ASSERT_TRUE(processUntil([&] { return !workspace->translating(); }));
    processPendingEvents();
    checkDisk("at the end");
    EXPECT_EQ(workspace->project()->toJson(), TranslationProject::load(app, "de").toJson());
}

} // namespace
} // namespace orvel::testing
