// The translate run of a workspace against the scripted model: which strings go in, batches landing in
// the project and on disk while the run goes on, the end and error paths, a language switch, Stop and
// the model check.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "core/Cancellation.h"
#include "core/FileCalls.h"
#include "core/FileStamp.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

namespace orvel::testing {
namespace {

StringTranslation byPerson(std::string text) {
    return translated(std::move(text), StringTranslation::Origin::person);
}

TEST_F(WorkspaceRunTest, TranslateTakesStringsByTheirTranslations) {
    // "off" is marked not to be translated and never goes in.
    engine.scriptedStrings = std::vector<SourceString>{
        sourceString("new", "New"), sourceString("empty", "Empty"), sourceString("model", "Model"),
        sourceString("person", "Person"), sourceString("off", "Off", false)};
    const TranslatableApp app = makeApp();
    struct Case {
        const char* name;
        std::map<std::string, StringTranslation> translations;
        bool all;
        std::vector<std::string> expected;
    };
    const std::map<std::string, StringTranslation> mixed{
        {"empty", translated("")}, {"model", translated("Modell")}, {"person", byPerson("Person")}};
    const std::vector<Case> cases{
        // In display order.
        {"untranslated and empty", mixed, false, {id("empty"), id("new")}},
        {"all but the person's", mixed, true, {id("empty"), id("model"), id("new")}},
        {"everything translated",
         {{"new", translated("Neu")},
          {"empty", translated("Leer")},
          {"model", translated("Modell")},
          {"person", byPerson("Person")}},
         false,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openGerman(app, c.translations);
        int translatingChanges = 0;
        QObject::connect(workspace.get(), &Workspace::translatingChanged, [&] { ++translatingChanges; });
        const std::size_t before = runs();
        const std::uint64_t counter = workspace->runID();

        workspace->translate(c.all);
        waitForEnd(*workspace);

        if (c.expected.empty()) {
            EXPECT_EQ(runs(), before);
            EXPECT_EQ(translatingChanges, 0);
            EXPECT_EQ(workspace->runID(), counter);
            EXPECT_FALSE(workspace->progress());
            continue;
        }
        ASSERT_EQ(runs(), before + 1);
        const ScriptedModel::Call call = engine.model->calls().back();
        EXPECT_EQ(call.ids, c.expected);
        EXPECT_TRUE(call.existing.empty());
        EXPECT_TRUE(call.feedback.empty());
        EXPECT_EQ(call.language, "de");
        EXPECT_TRUE(call.review);
    }
}

TEST_F(WorkspaceRunTest, OneStringGoesAgainWithTheTrimmedRemark) {
    engine.scriptedStrings =
        std::vector<SourceString>{sourceString("open", "Open"), sourceString("brand", "Notes", false)};
    const TranslatableApp app = makeApp();
    struct Case {
        const char* name;
        std::string id;
        std::string feedback;
        bool sent;
        std::map<std::string, std::string> expectedFeedback;
        bool withExisting;
    };
    const std::vector<Case> cases{
        {"blank remark", id("open"), " \n\t ", true, {}, true},
        {"trimmed remark", id("open"), "  Shorter, please\n", true, {{id("open"), "Shorter, please"}}, true},
        {"marked not to be translated", id("brand"), "", true, {}, false},
        {"unknown string", id("missing"), "Shorter", false, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openGerman(app, {{"open", translated("Auf")}});
        const std::size_t before = runs();

        workspace->translate(c.id, c.feedback);
        waitForEnd(*workspace);

        if (!c.sent) {
            EXPECT_EQ(runs(), before);
            continue;
        }
        ASSERT_EQ(runs(), before + 1);
        const ScriptedModel::Call call = engine.model->calls().back();
        EXPECT_EQ(call.ids, std::vector<std::string>{c.id});
        EXPECT_EQ(call.feedback, c.expectedFeedback);
        if (c.withExisting)
            EXPECT_EQ(call.existing.at(c.id).text, "Auf");
        else
            EXPECT_TRUE(call.existing.empty());
    }
}

TEST_F(WorkspaceRunTest, FixProblemsSendsTheFlaggedStringsWithTheirProblems) {
    // "Mail" is left in English by the model and by the person; only the model's is a problem.
    engine.scriptedStrings = std::vector<SourceString>{
        sourceString("file", "Open the file now"), sourceString("mail", "Send email now"),
        sourceString("kept", "Send email now"), sourceString("skipped", "Send email now", false)};
    const TranslatableApp app = makeApp();
    auto workspace = openGerman(app, {{"file", translated("Öffne die Datei jetzt")},
                                      {"mail", translated("Send email now")},
                                      {"kept", byPerson("Send email now")},
                                      {"skipped", translated("Send email now")}});
    ASSERT_TRUE(processUntil([&] { return workspace->problemsReady(); }));
    const std::optional<std::string> problem = workspace->problem(id("mail"));
    ASSERT_TRUE(problem);

    workspace->fixProblems();
    waitForEnd(*workspace);

    ASSERT_EQ(runs(), 1u);
    const ScriptedModel::Call call = engine.model->calls().back();
    EXPECT_EQ(call.ids, std::vector<std::string>{id("mail")});
    EXPECT_EQ(call.feedback, (std::map<std::string, std::string>{{id("mail"), *problem}}));
    EXPECT_EQ(call.existing.size(), 4u);
}

TEST_F(WorkspaceRunTest, BatchesLandAndArePublishedWhileTheRunGoesOn) {
    TranslatableApp app = appWith({"a", "b", "c", "d", "e"});
    app.version = "2.1";
    auto workspace = openGerman(app);
    engine.model->chosenTerms = {{"Text", "Text"}};
    engine.model->holdAfter(1);

    workspace->translate(false);
    ASSERT_TRUE(
        processUntil([&] { return engine.model->held() && workspace->progress()->done == batchSize; }));
    processPendingEvents();

    // The first batch is in the project, in its file and in the overlay while the run waits.
    EXPECT_TRUE(workspace->translating());
    EXPECT_EQ(workspace->project()->translations.size(), 2u);
    EXPECT_EQ(workspace->project()->translations.at(id("a")).text, "de:Text a");
    EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(app.dataFolder() / "de.lproj"));
    EXPECT_EQ(workspace->project()->terms, engine.model->chosenTerms);
    EXPECT_FALSE(workspace->project()->sourceText);

    engine.model->release();
    waitForEnd(*workspace);

    // Nothing failed: the English and the version are recorded and published.
    const TranslationProject stored = TranslationProject::load(app, "de");
    EXPECT_EQ(stored.translations.size(), 5u);
    ASSERT_TRUE(stored.sourceText);
    EXPECT_EQ(stored.sourceText->at(id("e")), "Text e");
    EXPECT_EQ(stored.appVersion, "2.1");
    EXPECT_EQ(stored.terms, engine.model->chosenTerms);
    EXPECT_FALSE(workspace->progress());
    EXPECT_FALSE(workspace->problem());
    EXPECT_EQ(workspace->changes().toTranslate().size(), 0u);
}

// After each batch the changes are what comparing the whole project gives: followed row by row where
// that is sound, compared whole where a string had taken a gone string's translation along.
TEST_F(WorkspaceRunTest, TheChangesFollowEveryBatch) {
    TranslatableApp app = appWith({"a", "b", "c", "d", "e", "f"});
    auto workspace = openWithChanges(app);
    engine.model->holdAfter(1);
    workspace->translate(false);
    for (int batch = 1; batch <= 2; ++batch) {
        SCOPED_TRACE(batch);
        ASSERT_TRUE(processUntil(
            [&] { return engine.model->held() && workspace->progress()->done == batch * batchSize; }));
        EXPECT_TRUE(processUntil(
            [&] { return matchesWholeComparison(*workspace) && matchesWholeCount(*workspace); }));
        engine.model->holdAfter(batch + 1);
    }
    engine.model->release();
    waitForEnd(*workspace);
    EXPECT_TRUE(processUntil([&] { return matchesWholeComparison(*workspace); }));
}

TEST_F(WorkspaceRunTest, TheChangesFollowEveryEditAtOnce) {
    const TranslatableApp app = appWith({"a", "b", "c", "d", "e", "f"});
    struct Case {
        const char* name;
        std::function<void(Workspace&)> edit;
    };
    const std::vector<Case> cases{
        {"a new string typed", [](Workspace& w) { w.setText("Neu", id("c")); }},
        {"a reworded string typed", [](Workspace& w) { w.setText("Neues B", id("b")); }},
        {"a string that took another's translation along, typed",
         [](Workspace& w) { w.setText("F", id("f")); }},
        {"a plural form of a new string", [](Workspace& w) { w.setPluralForm("Eins", "one", id("d")); }},
        {"an unchanged translation typed over", [](Workspace& w) { w.setText("Anders", id("a")); }},
        {"a translation cleared", [](Workspace& w) { w.setText("", id("a")); }},
        {"a reworded string cleared", [](Workspace& w) { w.setText("", id("b")); }},
        {"a typed text cleared again",
         [](Workspace& w) {
             w.setText("Neu", id("e"));
             w.setText("", id("e"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openWithChanges(app);
        c.edit(*workspace);
        // Without waiting: what the window shows right after the edit.
        EXPECT_TRUE(matchesWholeComparison(*workspace));
        processPendingEvents();
        EXPECT_TRUE(matchesWholeComparison(*workspace));
    }
}

// A whole comparison made from a copy of the project is still under way when rows change: its result,
// older than they are, does not take them back.
TEST_F(WorkspaceRunTest, AnOlderWholeComparisonKeepsTheRowsFollowedSince) {
    const TranslatableApp app = appWith({"a", "b", "c", "d", "e", "f"});
    const auto fromItsEnglish = [](const std::string& key) {
        StringTranslation translation = translated("Neu " + key);
        translation.source = "Text " + key;
        return translation;
    };
    struct Case {
        const char* name;
        std::function<void(Workspace&)> change;
    };
    const std::vector<Case> cases{
        {"a new string typed", [](Workspace& w) { w.setText("Neu", id("c")); }},
        {"a reworded string typed", [](Workspace& w) { w.setText("Neues B", id("b")); }},
        {"a batch of a new string",
         [&](Workspace& w) {
             w.applyBatch({{id("d"), fromItsEnglish("d")}}, TranslationJob::Progress{}, "de");
         }},
        {"a new string typed twice",
         [](Workspace& w) {
             w.setText("Neu", id("e"));
             w.setText("Neuer", id("e"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openWithChanges(app);
        // f took g's translation along, so its own is compared whole, off the main thread; the write
        // starts that comparison now, and its result waits for the main thread.
        workspace->applyBatch({{id("f"), fromItsEnglish("f")}}, TranslationJob::Progress{}, "de");
        workspace->flush();
        c.change(*workspace);
        // A row the comparison found taking another's translation along is compared again, once more.
        ASSERT_TRUE(processUntil([] { return waitForBackgroundWork(std::chrono::milliseconds(0)); }));
        EXPECT_TRUE(processUntil([&] { return matchesWholeComparison(*workspace); }));
    }
}

TEST_F(WorkspaceRunTest, TheEndShowsFailuresAndErrorsButNoCancellation) {
    const TranslatableApp app = appWith({"a", "b", "c", "d", "e", "f", "g"});
    struct Case {
        const char* name;
        std::set<std::string> failing;
        std::exception_ptr error;
        std::exception_ptr termError;
        std::optional<std::string> expectedProblem;
        bool recorded;
    };
    const std::set<std::string> six{id("a"), id("b"), id("c"), id("d"), id("e"), id("f")};
    const std::vector<Case> cases{
        {"success", {}, nullptr, nullptr, std::nullopt, true},
        {"six failures give five lines", six, nullptr, nullptr,
         "Text a: rejected a\nText b: rejected b\nText c: rejected c\nText d: rejected d\nText e: rejected e",
         false},
        {"an error of the model",
         {},
         std::make_exception_ptr(std::runtime_error("The model is down")),
         nullptr,
         "The model is down",
         false},
        {"a cancellation from the job",
         {},
         std::make_exception_ptr(CancellationError()),
         nullptr,
         std::nullopt,
         false},
        {"an error of the term choice",
         {},
         nullptr,
         std::make_exception_ptr(std::runtime_error("No terms")),
         "No terms",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openGerman(app);
        engine.model->failing = c.failing;
        engine.model->error = c.error;
        engine.model->errorAfter = 1;
        engine.model->termError = c.termError;

        workspace->translate(false);
        waitForEnd(*workspace);

        EXPECT_FALSE(workspace->translating());
        EXPECT_FALSE(workspace->progress());
        if (c.expectedProblem)
            EXPECT_EQ(workspace->problem(), Workspace::Problem::failed(*c.expectedProblem));
        else
            EXPECT_FALSE(workspace->problem());
        EXPECT_EQ(TranslationProject::load(app, "de").sourceText.has_value(), c.recorded);
    }
}

// A disk that refuses the write recording the run's English, the last write of a run, which no other
// write joins.
class RefusesTheRecordedEnglish : public FileCalls {
  public:
    ssize_t write(int file, std::string_view data) override {
        if (data.find("\"sourceText\"") != std::string_view::npos) {
            errno = ENOSPC;
            return -1;
        }
        return FileCalls::write(file, data);
    }

  private:
    FileCalls::Substitute m_substitute{*this};
};

TEST_F(WorkspaceRunTest, ARunsLastWriteThatFailsIsToldAndKeptUnsaved) {
    const TranslatableApp app = appWith({"a", "b"});
    auto workspace = openGerman(app);
    {
        RefusesTheRecordedEnglish disk;
        workspace->translate(false);
        waitForEnd(*workspace);
        ASSERT_TRUE(workspace->problem());
        EXPECT_TRUE(workspace->problem()->text.find("No space left on device") != std::string::npos)
            << workspace->problem()->text;
        ASSERT_EQ(workspace->unsavedProjects().size(), 1u);
        EXPECT_EQ(workspace->unsavedProjects().front().language, "de");
        EXPECT_FALSE(TranslationProject::load(app, "de").sourceText);
    }
    // Written at the next chance, once the disk takes it.
    workspace->quit();
    EXPECT_TRUE(TranslationProject::load(app, "de").sourceText);
}

TEST_F(WorkspaceRunTest, TheRunsKeyTermsAreSavedOnlyWhenTheChoiceFoundSomethingNew) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> chosen;
        bool expectWritten;
    };
    const std::vector<Case> cases{
        {"a new term", {{"Text", "Texte"}}, true},
        {"nothing new", {}, false},
    };
    const TranslatableApp app = appWith({"a", "b"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openGerman(app);
        const std::optional<FileStamp> before = FileStamp::of(TranslationProject::fileURL(app, "de"));
        engine.model->chosenTerms = c.chosen;
        engine.model->holdAfter(0);
        workspace->translate(false);
        // Held before its first batch: all the run has done is choose the terms.
        ASSERT_TRUE(processUntil([&] { return engine.model->held(); }));
        processPendingEvents();
        workspace->waitForWrites();
        EXPECT_EQ(FileStamp::of(TranslationProject::fileURL(app, "de")) != before, c.expectWritten);
        EXPECT_EQ(TranslationProject::load(app, "de").terms, c.chosen);
        engine.model->release();
        waitForEnd(*workspace);
    }
}

TEST_F(WorkspaceRunTest, ALanguageChosenDuringTheRunGetsNothingOfIt) {
    const TranslatableApp app = appWith({"a", "b", "c", "d", "e"});
    struct Case {
        const char* name;
        // Batches delivered before the switch.
        int before;
    };
    const std::vector<Case> cases{{"before the first batch", 0}, {"after the first batch", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openGerman(app);
        std::filesystem::remove(TranslationProject::fileURL(app, "fr"));
        engine.model->chosenTerms = {{"Text", "Texte"}};
        engine.model->holdAfter(c.before);

        workspace->translate(false);
        if (c.before > 0) {
            ASSERT_TRUE(processUntil(
                [&] { return engine.model->held() && workspace->project()->translations.size() == 2; }));
        }
        workspace->selectLanguage("fr");
        engine.model->release();
        waitForEnd(*workspace);

        EXPECT_EQ(workspace->language(), "fr");
        EXPECT_TRUE(workspace->project()->translations.empty());
        EXPECT_TRUE(workspace->project()->terms.empty());
        EXPECT_FALSE(workspace->project()->sourceText);
        EXPECT_TRUE(TranslationProject::load(app, "fr").translations.empty());
        EXPECT_EQ(TranslationProject::load(app, "de").translations.size(),
                  static_cast<std::size_t>(c.before * batchSize));
    }
}

TEST_F(WorkspaceRunTest, StopEndsTheRunAtOnceAndASecondStartOwnsTheState) {
    const TranslatableApp app = appWith({"a", "b", "c", "d", "e"});
    auto workspace = openGerman(app);
    engine.model->holdAfter(1);
    workspace->translate(false);
    ASSERT_TRUE(
        processUntil([&] { return engine.model->held() && workspace->project()->translations.size() == 2; }));

    workspace->stop();

    EXPECT_FALSE(workspace->translating());
    EXPECT_FALSE(workspace->progress());
    const std::uint64_t stopped = workspace->runID();

    // The second run starts before the first has noticed the stop, and waits before its first batch.
    engine.model->holdAfter(0);
    workspace->translate(true);
    EXPECT_TRUE(workspace->translating());
    EXPECT_EQ(workspace->runID(), stopped + 1);
    ASSERT_TRUE(processUntil([&] { return engine.model->finished() == 1 && engine.model->held(); }));
    processPendingEvents();

    // The first run's end was stale: no problem, the second run's state untouched.
    EXPECT_FALSE(workspace->problem());
    EXPECT_TRUE(workspace->translating());
    EXPECT_EQ(workspace->progress()->total, 5);
    EXPECT_EQ(workspace->project()->translations.size(), 2u);

    engine.model->release();
    waitForEnd(*workspace);
    EXPECT_FALSE(workspace->translating());
    EXPECT_EQ(workspace->project()->translations.size(), 5u);
    EXPECT_FALSE(workspace->problem());
}

TEST_F(WorkspaceRunTest, ABatchStillOnItsWayWhenStopped) {
    const TranslatableApp app = appWith({"a", "b", "c"});
    auto workspace = openGerman(app);
    engine.model->holdAfter(1);
    // With the key at hand and a server endpoint, the worker starts at once; no event is processed until
    // after Stop, so the first batch is still on its way to the main thread.
    workspace->translate(false);
    ASSERT_TRUE(heldWithoutEvents());

    workspace->stop();
    ASSERT_TRUE(processUntil([&] { return engine.model->finished() == 1; }));
    processPendingEvents();

    EXPECT_TRUE(workspace->project()->translations.empty());
    EXPECT_TRUE(TranslationProject::load(app, "de").translations.empty());
    EXPECT_FALSE(workspace->progress());
}

TEST_F(WorkspaceRunTest, TheModelCheckAsksOnlyTheAppleModels) {
    const TranslatableApp app = appWith({"a"});
    struct Case {
        const char* name;
        std::string endpoint;
        std::set<std::string> unsupported;
        std::optional<AppleModels::Kind> asked;
        bool runs;
    };
    const std::vector<Case> cases{
        {"on-device, written loosely", " APPLE:On-Device\n", {}, AppleModels::Kind::onDevice, true},
        {"through the shortcut", "apple:chatgpt", {}, AppleModels::Kind::chatGPT, true},
        {"a server", "http://localhost:11434/v1", {"de"}, std::nullopt, true},
        {"on-device without German", "apple:on-device", {"de"}, AppleModels::Kind::onDevice, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preferences.setEndpoint(c.endpoint);
        engine.unsupported = c.unsupported;
        engine.modelChecks.set({});
        auto workspace = openGerman(app);
        const std::size_t before = runs();

        workspace->translate(false);
        waitForEnd(*workspace);

        const auto checks = engine.modelChecks.get();
        if (c.asked) {
            ASSERT_EQ(checks.size(), 1u);
            EXPECT_EQ(checks[0], std::make_pair(std::string("de"), *c.asked));
        } else {
            EXPECT_TRUE(checks.empty());
        }
        EXPECT_EQ(runs(), before + (c.runs ? 1 : 0));
        EXPECT_FALSE(workspace->translating());
        EXPECT_FALSE(workspace->progress());
        if (!c.runs) {
            EXPECT_EQ(workspace->problem(), Workspace::Problem::unsupportedLanguage("de"));
        }
    }
}

TEST_F(WorkspaceRunTest, WhatThePersonChangesDuringARunStands) {
    struct Case {
        const char* name;
        std::function<void(Workspace&)> edit;
        // The translation of "c" after the run; none: it has none.
        std::optional<std::string> expectText;
        std::optional<std::map<std::string, std::string>> expectForms;
    };
    const std::vector<Case> cases{
        {"a text typed", [](Workspace& w) { w.setText("Meins", id("c")); }, "Meins", std::nullopt},
        {"a plural form set", [](Workspace& w) { w.setPluralForm("Eins", "one", id("c")); }, std::nullopt,
         std::map<std::string, std::string>{{"one", "Eins"}, {"other", "Alt c"}}},
        {"a model translation kept", [](Workspace& w) { w.keep(id("c")); }, "Alt c", std::nullopt},
        {"a translation cleared", [](Workspace& w) { w.setText("", id("c")); }, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = appWith({"a", "b", "c", "d"});
        std::map<std::string, StringTranslation> old;
        for (const std::string key : {"a", "b", "c", "d"}) {
            old[key] = translated("Alt " + key);
            old[key].source = "Text " + key;
        }
        auto workspace = openGerman(app, old);
        engine.model->holdAfter(1);
        // Everything again: "c" goes in the second batch, which waits until the person has changed it.
        workspace->translate(true);
        ASSERT_TRUE(processUntil([&] { return engine.model->held() && workspace->progress()->done == 2; }));
        c.edit(*workspace);
        engine.model->release();
        waitForEnd(*workspace);
        timers.advance(Workspace::writeBackDelay);

        const auto& translations = workspace->project()->translations;
        EXPECT_EQ(translations.at(id("d")).text, "de:Text d");
        const auto found = translations.find(id("c"));
        ASSERT_EQ(found != translations.end(), c.expectText || c.expectForms);
        if (found != translations.end()) {
            EXPECT_EQ(found->second.origin, StringTranslation::Origin::person);
            EXPECT_EQ(found->second.text, c.expectText);
            EXPECT_EQ(found->second.plural, c.expectForms);
        }
        EXPECT_FALSE(workspace->problem());
        EXPECT_EQ(workspace->project()->toJson(), TranslationProject::load(app, "de").toJson());
    }
}

} // namespace
} // namespace orvel::testing

namespace orvel::testing {
namespace {

// The run ends once its last write is made; what the person changes while that write is under way is in
// the changes and the counts the end starts from, and reaches the disk.
TEST_F(WorkspaceRunTest, AnEditDuringTheEndsWriteIsComparedAndCounted) {
    const TranslatableApp app = appWith({"a", "b", "c", "d", "e"});
    writeProject(app, "de");
    defaults.set("language." + std::string(bundleID), std::string("de"));
    // The load runs at once; then every write waits until the test lets it go.
    HeldFileWork writes;
    auto workspace = open(app, writes);
    processPendingEvents();
    writes.holding = true;
    workspace->translate(false);
    // Until the run records the English, which comes with its last write.
    ASSERT_TRUE(processUntil([&] {
        if (!writes.held.empty() && !workspace->project()->sourceText)
            writes.releaseOne();
        return workspace->project()->sourceText.has_value() && !writes.held.empty();
    }));
    EXPECT_TRUE(workspace->translating());
    workspace->setText("", id("a"));
    workspace->setText("Text b %@", id("b"));
    while (!writes.held.empty())
        writes.releaseOne();
    waitForEnd(*workspace);
    ASSERT_TRUE(processUntil([&] { return workspace->problemsReady(); }));
    writes.holding = false;
    EXPECT_TRUE(processUntil([&] { return matchesWholeComparison(*workspace); }));
    EXPECT_TRUE(matchesWholeCount(*workspace));
    timers.advance(Workspace::writeBackDelay);
    while (!writes.held.empty())
        writes.releaseOne();
    const TranslationProject stored = TranslationProject::load(app, "de");
    EXPECT_FALSE(stored.translations.contains(id("a")));
    EXPECT_EQ(stored.translations.at(id("b")).text, "Text b %@");
}

TEST_F(WorkspaceRunTest, QuitStopsTheRunFirstAndWritesWhatTheWorkspaceHoldsOnce) {
    struct Case {
        const char* name;
        bool run;
        // The run's first batch has reached the project before the quit.
        bool batchMerged;
        bool editWaiting;
        int writesByQuit;
        std::size_t translationsKept;
    };
    const std::vector<Case> cases{
        {"a batch still on its way to the main thread is dropped", true, false, false, 0, 0},
        {"the merged batches are on disk already", true, true, false, 0, 2},
        {"an edit waiting for its write-back is written once with the merged batches", true, true, true, 1,
         3},
        {"without a run an edit waiting is written once", false, false, true, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(scratch.path() / "home");
        engine.model = std::make_shared<ScriptedModel>();
        const TranslatableApp app = appWith({"a", "b", "c"});
        auto workspace = openGerman(app);
        if (c.run) {
            engine.model->holdAfter(1);
            workspace->translate(false);
            ASSERT_TRUE(heldWithoutEvents());
            if (c.batchMerged) {
                ASSERT_TRUE(processUntil([&] { return workspace->project()->translations.size() == 2; }));
                // The merged batch is written as soon as the main thread has taken what landed with it.
                processPendingEvents();
            }
        }
        if (c.editWaiting)
            workspace->setText("Meins", id("c"));

        const int writesBefore = writesMade;
        workspace->quit();
        EXPECT_FALSE(workspace->translating());
        EXPECT_EQ(writesMade - writesBefore, c.writesByQuit);

        engine.model->release();
        ASSERT_TRUE(processUntil(
            [&] { return engine.model->finished() == static_cast<int>(engine.model->calls().size()); }));
        processPendingEvents();
        // Nothing of the run lands after the quit, and nothing more is written.
        EXPECT_EQ(workspace->project()->translations.size(), c.translationsKept);
        EXPECT_EQ(TranslationProject::load(app, "de").translations.size(), c.translationsKept);
        EXPECT_EQ(writesMade - writesBefore, c.writesByQuit);
        workspace.reset();
        EXPECT_EQ(writesMade - writesBefore, c.writesByQuit);
    }
}

} // namespace
} // namespace orvel::testing
