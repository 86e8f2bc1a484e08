#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using Origin = StringTranslation::Origin;
using Translations = std::map<std::string, StringTranslation>;

constexpr const char* leftInEnglish = "it was left in English";

std::string idOf(const std::string& key) {
    return SourceString::id("Main", key);
}

StringTranslation pluralForms(std::map<std::string, std::string> forms) {
    StringTranslation translation;
    translation.plural = std::move(forms);
    return translation;
}

class WorkspaceProblemsTest : public testing::WorkspaceTest {
  protected:
    // "File" reads "Open the file now", "Mail" reads "Send email now".
    std::unique_ptr<Workspace> openWith(const std::vector<std::string>& projects = {}) {
        engine.scriptedStrings = {testing::sourceString("File", "Open the file now"),
                                  testing::sourceString("Mail", "Send email now")};
        const TranslatableApp app = makeApp();
        for (const std::string& language : projects)
            writeProject(app, language);
        return open(app);
    }

    static TranslationProject projectWith(const std::string& language, Translations translations,
                                          std::map<std::string, std::string> terms = {}) {
        TranslationProject project;
        project.app = bundleID;
        project.language = language;
        project.translations = std::move(translations);
        project.terms = std::move(terms);
        return project;
    }
};

TEST_F(WorkspaceProblemsTest, OnlyTheModelsTranslationsHaveProblemsAndBothWaysOfCheckingAgree) {
    struct Case {
        const char* name;
        std::string id;
        std::optional<StringTranslation> translation;
        std::optional<std::string> expected;
    };
    const std::string chosenWord = "\"file\" is «Datei» everywhere in this app";
    const std::vector<Case> cases{
        {"left in English", idOf("Mail"), testing::translated("Send email now"), leftInEnglish},
        {"the person's translation left in English", idOf("Mail"),
         testing::translated("Send email now", Origin::person), std::nullopt},
        {"a chosen word not used", idOf("File"), testing::translated("Öffne das Dokument jetzt"), chosenWord},
        {"the person contradicts a chosen word", idOf("File"),
         testing::translated("Öffne das Dokument jetzt", Origin::person), std::nullopt},
        {"a sound translation", idOf("File"), testing::translated("Öffne die Datei jetzt"), std::nullopt},
        {"an empty record", idOf("File"), StringTranslation{}, std::nullopt},
        {"no translation", idOf("File"), std::nullopt, std::nullopt},
        {"a translation of no string the app has", idOf("Gone"), testing::translated("Weg"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = openWith({"de"});
        workspace->setNotes(AppNotes{
            .notes = "", .glossary = {{.term = "File", .note = std::nullopt, .translate = std::nullopt}}});
        Translations translations;
        if (c.translation)
            translations[c.id] = *c.translation;
        workspace->setProject(projectWith("de", translations, {{"file", "Datei"}}));
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        // The background checks left the result where the string list finds it without checking again.
        const int checksInBackground = engine.checks->started("de");
        const bool checked = c.translation && !c.translation->isEmpty() &&
                             c.translation->origin == Origin::model && workspace->source(c.id);
        EXPECT_EQ(workspace->problemCache().contains(c.id), checked);
        EXPECT_EQ(workspace->problem(c.id), c.expected);
        EXPECT_EQ(workspace->problemCount(), c.expected ? 1 : 0);
        EXPECT_EQ(engine.checks->started("de"), checksInBackground);

        // Checked on demand, without the background's results, the answer is the same.
        workspace->selectLanguage("de");
        workspace->setProject(projectWith("de", translations, {{"file", "Datei"}}));
        EXPECT_EQ(workspace->problem(c.id), c.expected);
    }
}

TEST_F(WorkspaceProblemsTest, ALargeAppIsCheckedInSlicesAndADuplicatedIdKeepsTheFirstStringsCheck) {
    struct Case {
        const char* name;
        int strings;
    };
    const std::vector<Case> cases{
        {"a small app, on one thread", 100},
        {"four slices", 9000},
        {"slices of uneven size", 8003},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Every third string left in English; the first and the last string share an id, and only the
        // first one's English is what the translation repeats.
        std::vector<SourceString> strings{testing::sourceString("Dup", "Aaa, send the email now")};
        Translations translations{{idOf("Dup"), testing::translated("Aaa, send the email now")}};
        // Both rows of the shared id show its problem.
        int expected = 2;
        for (int i = 1; i + 1 < c.strings; ++i) {
            const std::string key = "k" + std::to_string(i);
            strings.push_back(testing::sourceString(key, "Send the email now, please " + std::to_string(i)));
            if (i % 3 == 0) {
                translations[idOf(key)] =
                    testing::translated("Send the email now, please " + std::to_string(i));
                ++expected;
            } else {
                translations[idOf(key)] = testing::translated("Post " + std::to_string(i) + " jetzt");
            }
        }
        strings.push_back(testing::sourceString("Dup", "Zzz other text"));
        engine.scriptedStrings = strings;
        fs::remove_all(scratch.path() / "home");
        const TranslatableApp app = makeApp();
        // Opened as at a start: the project read with the strings.
        projectWith("de", translations).save(app);
        const auto workspace = open(app);
        ASSERT_EQ(workspace->language(), "de");
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        const int checksInBackground = engine.checks->started("de");
        EXPECT_EQ(workspace->problemCache().size(), translations.size());
        EXPECT_EQ(workspace->problem(idOf("Dup")), std::optional<std::string>(leftInEnglish));
        EXPECT_EQ(workspace->problemCount(), expected);
        // Every answer came from the background's checks.
        EXPECT_EQ(engine.checks->started("de"), checksInBackground);
    }
}

TEST_F(WorkspaceProblemsTest, ATranslationIsCheckedAgainOnlyOnceItChanges) {
    struct Case {
        const char* name;
        StringTranslation next;
        std::optional<std::string> expected;
        int expectedChecks;
    };
    const std::vector<Case> cases{
        {"the same translation", testing::translated("Open the file now"), leftInEnglish, 0},
        {"a new text", testing::translated("Öffne die Datei jetzt"), std::nullopt, 1},
        {"the person takes it over", testing::translated("Open the file now", Origin::person), std::nullopt,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = openWith({"de"});
        workspace->setProject(projectWith("de", {{idOf("File"), testing::translated("Open the file now")}}));
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        ASSERT_EQ(workspace->problem(idOf("File")), leftInEnglish);
        const int before = engine.checks->started("de");

        // A new translation under the same terms keeps the cache; its stale entry no longer matches.
        workspace->setProject(projectWith("de", {{idOf("File"), c.next}}));
        EXPECT_TRUE(workspace->problemsReady());
        for (int read = 0; read < 3; ++read)
            EXPECT_EQ(workspace->problem(idOf("File")), c.expected);
        EXPECT_EQ(engine.checks->started("de") - before, c.expectedChecks);
    }
}

TEST_F(WorkspaceProblemsTest, ChecksOfALanguageNoLongerChosenAreNeverStored) {
    struct Case {
        const char* name;
        // Moves away from "de" while its checks are held.
        std::function<void(Workspace&)> moveOn;
        std::set<std::string> expectedCached;
        std::vector<std::string> expectedReadyFor;
    };
    const std::vector<Case> cases{
        {"another language chosen", [](Workspace& w) { w.selectLanguage("fr"); }, {idOf("File")}, {"fr"}},
        {"the language changed under the recomputation", [](Workspace& w) { w.setLanguage("fr"); }, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        fs::remove_all(scratch.path() / "settings");
        const auto workspace = openWith();
        const TranslationProject german =
            projectWith("de", {{idOf("File"), testing::translated("Open the file now")},
                               {idOf("Mail"), testing::translated("x")}});
        const TranslationProject french = projectWith("fr", {{idOf("File"), testing::translated("Ouvrir")}});
        german.save(workspace->app());
        french.save(workspace->app());
        std::vector<std::string> readyFor;
        QObject::connect(workspace.get(), &Workspace::problemsReadyChanged, [&] {
            if (workspace->problemsReady())
                readyFor.push_back(workspace->language().value_or(""));
        });

        engine.checks->hold("de");
        workspace->selectLanguage("de");
        ASSERT_TRUE(testing::processUntil([&] { return engine.checks->started("de") > 0; }));
        c.moveOn(*workspace);
        if (!c.expectedReadyFor.empty()) {
            ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        }
        // The German checks finish after the French ones were stored, and get every chance to be stored.
        engine.checks->release("de");
        testing::processUntil([] { return false; }, 300);

        std::set<std::string> cached;
        for (const auto& [id, check] : workspace->problemCache()) {
            cached.insert(id);
            const auto frenchTranslation = french.translations.find(id);
            EXPECT_TRUE(frenchTranslation != french.translations.end() &&
                        check.translation == std::hash<StringTranslation>{}(frenchTranslation->second))
                << id;
        }
        EXPECT_EQ(cached, c.expectedCached);
        EXPECT_EQ(readyFor, c.expectedReadyFor);
        EXPECT_EQ(workspace->problemsReady(), !c.expectedReadyFor.empty());
    }
}

TEST_F(WorkspaceProblemsTest, TheMatchedPhraseIsTheOneTheProblemIsAbout) {
    struct Case {
        const char* name;
        std::string language;
        std::string key;
        StringTranslation translation;
        std::optional<std::string> expected;
    };
    const std::vector<Case> cases{
        {"a wording to avoid", "ro", "Mail", testing::translated("Trimite email acum"), "email"},
        {"in a plural form", "ro", "Mail",
         pluralForms({{"one", "Trimite mesajul"}, {"other", "Trimite Email"}}), "Email"},
        {"inside code", "ro", "Mail", testing::translated("Trimite `email` acum"), std::nullopt},
        {"written by the person", "ro", "Mail", testing::translated("Trimite email acum", Origin::person),
         std::nullopt},
        {"a problem no wording explains", "ro", "File", testing::translated("Open the file now"),
         std::nullopt},
        {"a language without notes", "ja", "Mail", testing::translated("email を送信"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto workspace = openWith();
        workspace->selectLanguage(c.language);
        workspace->setProject(projectWith(c.language, {{idOf(c.key), c.translation}}));
        EXPECT_EQ(workspace->problemMatch(idOf(c.key)), c.expected);
    }
}

TEST_F(WorkspaceProblemsTest, FailuresReadAsTheEnglishOrTheIdWithTheReasonFiveAtMost) {
    struct Case {
        const char* name;
        Workspace::FailureMap failures;
        std::string expected;
    };
    Workspace::FailureMap seven;
    for (char key = 'a'; key < 'h'; ++key)
        seven[idOf(std::string(1, key))] = "no answer";
    const std::string unknown = idOf("a") + ": no answer";
    const std::vector<Case> cases{
        {"a known string", {{idOf("File"), "timed out"}}, "Open the file now: timed out"},
        {"a string the app no longer has", {{idOf("Gone"), "timed out"}}, idOf("Gone") + ": timed out"},
        {"in the map's order",
         {{idOf("Mail"), "one"}, {idOf("File"), "two"}},
         "Open the file now: two\nSend email now: one"},
        {"seven failures", seven,
         unknown + "\n" + idOf("b") + ": no answer\n" + idOf("c") + ": no answer\n" + idOf("d") +
             ": no answer\n" + idOf("e") + ": no answer"},
        {"none", {}, ""},
    };
    const auto workspace = openWith();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(workspace->failureText(c.failures), c.expected);
    }
}

TEST_F(WorkspaceProblemsTest, LiveOnlyWhileTheRunningAppShowsExactlyTheChosenLanguage) {
    constexpr std::int32_t runningPid = 500;
    struct Case {
        const char* name;
        std::optional<std::string> chosen;
        bool published;
        std::optional<std::string> shown;
        // How many copies run, given the process ids runningPid, runningPid + 1, ...
        int copies;
        // The process that published the state; 0 names none.
        std::int32_t publisher;
        bool expected;
    };
    const std::vector<Case> cases{
        {"shows the chosen language", "de", true, "de", 1, runningPid, true},
        {"a state that names no process", "de", true, "de", 1, 0, true},
        {"shows another language", "de", true, "fr", 1, runningPid, false},
        {"shows a region of it", "pt", true, "pt-BR", 1, runningPid, false},
        {"reports no language", "de", true, std::nullopt, 1, runningPid, false},
        {"published nothing", "de", false, std::nullopt, 1, runningPid, false},
        {"no language chosen", std::nullopt, true, "de", 1, runningPid, false},
        {"the app has quit", "de", true, "de", 0, runningPid, false},
        {"left behind by a copy that quit", "de", true, "de", 1, runningPid + 7, false},
        {"the second of two running copies shows it", "de", true, "de", 2, runningPid + 1, true},
        {"left behind by a third copy that quit", "de", true, "de", 2, runningPid + 2, false},
    };
    const auto workspace = openWith();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform.running = std::vector<std::filesystem::path>(static_cast<std::size_t>(c.copies),
                                                              workspace->app().bundleURL);
        workspace->selectLanguage(c.chosen);
        std::optional<AppState> state;
        if (c.published) {
            state.emplace();
            state->language = c.shown;
            state->pid = c.publisher;
        }
        workspace->setAppState(state);
        EXPECT_EQ(workspace->isLive(), c.expected);
    }
}

// The pill follows the app's quit and start without a new state: the state file of a quit app stays.
TEST_F(WorkspaceProblemsTest, LiveEndsWhenTheAppQuitsAndComesBackWhenItRunsAgain) {
    const auto workspace = openWith();
    platform.running = {workspace->app().bundleURL};
    workspace->selectLanguage("de");
    AppState state;
    state.language = "de";
    workspace->setAppState(state);
    ASSERT_TRUE(workspace->isLive());
    int notices = 0;
    QObject::connect(workspace.get(), &Workspace::appStateChanged, [&] { ++notices; });

    platform.running.clear();
    processes.launchOrQuit();
    testing::processPendingEvents();
    EXPECT_FALSE(workspace->isLive());
    EXPECT_EQ(notices, 1);

    // Another app starting or quitting changes nothing.
    processes.launchOrQuit();
    testing::processPendingEvents();
    EXPECT_EQ(notices, 1);

    platform.running = {workspace->app().bundleURL};
    processes.launchOrQuit();
    testing::processPendingEvents();
    EXPECT_TRUE(workspace->isLive());
    EXPECT_EQ(notices, 2);

    // Of two copies, the one that published last quits: its state says nothing of the other.
    platform.running = {workspace->app().bundleURL, workspace->app().bundleURL};
    state.pid = platform.firstProcessID + 1;
    workspace->setAppState(state);
    ASSERT_TRUE(workspace->isLive());
    platform.running = {workspace->app().bundleURL};
    processes.launchOrQuit();
    testing::processPendingEvents();
    EXPECT_FALSE(workspace->isLive());
}

// Rows that change while the problems are checked, from a copy made before them, are counted as they
// stand when the checks come in; the other rows are counted from the checks, with no pass over them all.
TEST_F(WorkspaceProblemsTest, TheProblemCountTakesTheRowsChangedWhileTheChecksRan) {
    const auto byModel = [](std::string text) { return testing::translated(std::move(text)); };
    using Change = std::function<void(Workspace&)>;
    const auto batch = [](const std::string& key, StringTranslation translation) -> Change {
        return [=](Workspace& w) { w.applyBatch({{idOf(key), translation}}, Workspace::Progress{}, "de"); };
    };
    struct Case {
        const char* name;
        std::vector<Change> changes;
        int expected;
    };
    // File starts left in English, Mail fine.
    const std::vector<Case> cases{
        {"nothing changed", {}, 1},
        {"a problem translated anew", {batch("File", byModel("Datei jetzt öffnen"))}, 0},
        {"a translation left in English", {batch("Mail", byModel("Send email now"))}, 2},
        {"a problem typed over by the person", {[](Workspace& w) { w.setText("Meins", idOf("File")); }}, 0},
        {"a problem cleared", {[](Workspace& w) { w.setText("", idOf("File")); }}, 0},
        {"a row changed twice",
         {batch("File", byModel("Datei jetzt öffnen")), batch("File", byModel("Open the file now"))},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openWith();
        projectWith("de", {{idOf("File"), byModel("Open the file now")}, {idOf("Mail"), byModel("x")}})
            .save(workspace->app());
        ASSERT_TRUE(testing::processUntil([&] { return workspace->strings().size() == 2; }));
        workspace->selectLanguage("de");
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        ASSERT_EQ(workspace->problemCount(), 1);

        engine.checks->hold("de");
        const int started = engine.checks->started("de");
        workspace->refreshProblems();
        ASSERT_TRUE(testing::processUntil([&] { return engine.checks->started("de") > started; }));
        for (const Change& change : c.changes)
            change(*workspace);
        // Counted while the checks run, so that their end finds the other counts made.
        EXPECT_EQ(workspace->translatableCount(), 2);
        engine.checks->release("de");
        ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));

        EXPECT_EQ(workspace->problemCount(), c.expected);
        EXPECT_EQ(workspace->count(Workspace::Filter::problems), c.expected);
    }
}

} // namespace
} // namespace orvel
