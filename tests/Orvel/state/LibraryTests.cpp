#include "Orvel/state/Library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/Orvel/state/FullDisk.h"
#include "tests/Orvel/state/LibraryFixture.h"

namespace orvel {
namespace {

using testing::LibraryTest;
using testing::sourceString;
using Link = Library::Link;

std::vector<SourceString> fiveStrings() {
    return {sourceString("a", "Open"), sourceString("b", "Close"), sourceString("c", "Save"),
            sourceString("d", "Print"), sourceString("e", "Quit")};
}

// fiveStrings() as a catalog: key to English.
std::map<std::string, std::string> fiveStringsCatalog() {
    std::map<std::string, std::string> catalog;
    for (const SourceString& string : fiveStrings())
        catalog[string.key] = string.text;
    return catalog;
}

// A project that recorded the English of `keys` and translated them, so that every other string of
// fiveStrings() is new to it.
void writeTranslated(const TranslatableApp& app, const std::string& language,
                     const std::vector<std::string>& keys) {
    TranslationProject project;
    project.app = app.bundleIdentifier;
    project.language = language;
    project.sourceText.emplace();
    for (const SourceString& string : fiveStrings()) {
        if (std::find(keys.begin(), keys.end(), string.key) == keys.end())
            continue;
        (*project.sourceText)[string.id()] = string.text;
        StringTranslation translation;
        translation.text = "[" + string.text + "]";
        translation.source = string.text;
        project.translations[string.id()] = translation;
    }
    project.save(app);
}

TEST_F(LibraryTest, DeepLinksOpenTheirAppOnceItIsKnown) {
    struct Case {
        const char* name;
        // The apps are installed before the links arrive; otherwise a later rescan finds them.
        bool knownAtFirst;
        // "Notes" or "Mail" in place of the bundle identifiers; set one after the other.
        std::vector<Link> links;
        std::vector<std::string> storedLanguages;
        Workspace::Filter filterBefore;
        std::string expectSelection;
        std::optional<std::string> expectLanguage;
        std::vector<std::string> expectLanguages;
    };
    const std::vector<Case> cases{
        {"pt_BR opens the stored pt-BR",
         true,
         {{"Notes", "pt_BR"}},
         {"de", "pt-BR"},
         Workspace::Filter::all,
         "Notes",
         "pt-BR",
         {"de", "pt-BR"}},
        {"the stored spelling pt_BR is kept",
         true,
         {{"Notes", "pt-br"}},
         {"de", "pt_BR"},
         Workspace::Filter::all,
         "Notes",
         "pt_BR",
         {"de", "pt_BR"}},
        {"a link without a language shows all strings",
         true,
         {{"Notes", std::nullopt}},
         {},
         Workspace::Filter::problems,
         "Notes",
         std::nullopt,
         {}},
        {"a language that names none only selects",
         true,
         {{"Notes", "../de"}},
         {},
         Workspace::Filter::all,
         "Notes",
         std::nullopt,
         {}},
        {"an unknown app waits for the rescan",
         false,
         {{"Notes", "fr"}},
         {},
         Workspace::Filter::all,
         "Notes",
         "fr",
         {"fr"}},
        {"the last link wins",
         false,
         {{"Notes", "fr"}, {"Mail", "de"}},
         {},
         Workspace::Filter::all,
         "Mail",
         "de",
         {"de"}},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string prefix = "com.example.link" + std::to_string(++row) + ".";
        const TranslatableApp notes = app(prefix + "Notes", "1", "Notes" + std::to_string(row));
        const TranslatableApp mail = app(prefix + "Mail", "1", "Mail" + std::to_string(row));
        const auto named = [&](const std::string& name) { return name == "Notes" ? notes : mail; };
        for (const std::string& language : c.storedLanguages)
            writeProject(named("Notes"), language);
        engine.install(c.knownAtFirst ? std::vector{mail, notes} : std::vector<TranslatableApp>{});
        auto library = makeLibrary();
        settle();
        if (c.knownAtFirst)
            library->workspace(notes).setFilter(c.filterBefore);

        for (Link link : c.links) {
            link.app = prefix + link.app;
            library->setLink(link);
            library->applyLink();
        }
        if (!c.knownAtFirst) {
            EXPECT_TRUE(library->link().has_value());
            engine.install({mail, notes});
            rescan();
        }

        const TranslatableApp selected = named(c.expectSelection);
        EXPECT_EQ(library->selection(), selected.bundleIdentifier);
        EXPECT_FALSE(library->link().has_value());
        Workspace& workspace = library->workspace(selected);
        EXPECT_EQ(workspace.filter(), Workspace::Filter::all);
        EXPECT_EQ(workspace.language(), c.expectLanguage);
        EXPECT_EQ(workspace.languages(), c.expectLanguages);
        // An overtaken link leaves no trace in its app.
        if (c.links.size() > 1) {
            EXPECT_FALSE(std::filesystem::exists(TranslationProject::fileURL(notes, "fr")));
        }

        // Applied once: a later rescan leaves the person's own choice alone.
        workspace.selectLanguage("it");
        rescan();
        EXPECT_EQ(workspace.language(), "it");
    }
}

TEST_F(LibraryTest, PendingCountsAndBackgroundUpdates) {
    struct Case {
        const char* name;
        bool autoUpdate;
        std::string endpoint;
        // Languages the Apple model cannot serve.
        std::set<std::string> unsupported;
        // A workspace of the app is open in this language (opened before automatic updates are on, so
        // that it does not update the project itself).
        std::optional<std::string> openIn;
        // The model rejects the string "e" / fails every run.
        bool rejectsE, fails;
        // The app's version at each later rescan.
        std::vector<std::string> laterVersions;
        // The language of each run the model was asked for.
        std::vector<std::string> expectRuns;
        int expectPendingAfter;
    };
    const std::vector<Case> cases{
        {"automatic updates off only count", false, "apple:chatgpt", {}, {}, false, false, {}, {}, 5},
        {"both projects, one after the other",
         true,
         "apple:chatgpt",
         {},
         {},
         false,
         false,
         {},
         {"de", "fr"},
         0},
        {"the open workspace keeps its language",
         true,
         "apple:chatgpt",
         {},
         "de",
         false,
         false,
         {},
         {"fr"},
         3},
        {"the same version is not tried again",
         true,
         "apple:chatgpt",
         {},
         {},
         true,
         false,
         {"1"},
         {"de", "fr"},
         2},
        {"a new version is tried again",
         true,
         "apple:chatgpt",
         {},
         {},
         true,
         false,
         {"2"},
         {"de", "fr", "de", "fr"},
         2},
        {"a failed update is not retried",
         true,
         "apple:chatgpt",
         {},
         {},
         false,
         true,
         {"1"},
         {"de", "fr"},
         5},
        {"the on-device model skips what it cannot serve",
         true,
         " APPLE:On-Device ",
         {"fr"},
         {},
         false,
         false,
         {},
         {"de"},
         2},
    };
    const std::map<std::string, std::string> strings = fiveStringsCatalog();
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = "com.example.update" + std::to_string(++row);
        const std::string folder = "Update" + std::to_string(row);
        const TranslatableApp notes = bundle(identifier, "1", folder, strings);
        // "de" needs 3 strings translated, "fr" 2.
        writeTranslated(notes, "de", {"a", "b"});
        writeTranslated(notes, "fr", {"a", "b", "c"});
        preferences.setAutoUpdate(false);
        preferences.setEndpoint(c.endpoint);
        engine.unsupported = c.unsupported;
        engine.model->failing =
            c.rejectsE ? std::set{sourceString("e", "Quit").id()} : std::set<std::string>{};
        engine.model->error = c.fails ? std::make_exception_ptr(std::runtime_error("offline")) : nullptr;
        engine.install({notes});
        const std::size_t runsBefore = engine.model->calls().size();

        auto library = makeLibrary();
        if (c.openIn)
            library->workspace(notes).selectLanguage(*c.openIn);
        preferences.setAutoUpdate(c.autoUpdate);
        settle();
        for (const std::string& version : c.laterVersions) {
            engine.install({bundle(identifier, version, folder, strings)});
            rescan();
        }
        EXPECT_FALSE(library->updating());
        // The counts after the last pass.
        library->measurePending();
        settle();
        EXPECT_EQ(library->pending(), (Library::Pending{{identifier, c.expectPendingAfter}}));

        std::vector<std::string> runs;
        const std::vector<testing::ScriptedModel::Call> calls = engine.model->calls();
        for (auto call = calls.begin() + static_cast<std::ptrdiff_t>(runsBefore); call != calls.end(); ++call)
            runs.push_back(call->language);
        // Projects are taken in the folder's own order, which the file system decides.
        std::vector<std::string> expected = c.expectRuns;
        std::sort(runs.begin(), runs.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(runs, expected);
    }
}

TEST_F(LibraryTest, AWorkspaceTakesItsProjectOverFromTheBackgroundPass) {
    struct Case {
        const char* name;
        // The workspace is open in "fr" before the pass starts, and then chooses "de".
        bool openBefore;
    };
    const std::vector<Case> cases{
        {"the app opened in the language the pass is updating", false},
        {"the language chosen in an open workspace", true},
    };
    const std::map<std::string, std::string> strings = fiveStringsCatalog();
    const std::string quit = sourceString("e", "Quit").id();
    preferences.setEndpoint("http://127.0.0.1:9/v1");
    preferences.setBatchSize(1);
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = "com.example.handover" + std::to_string(++row);
        const TranslatableApp notes = bundle(identifier, "1", "Handover" + std::to_string(row), strings);
        writeTranslated(notes, "de", {"a", "b"});
        writeTranslated(notes, "fr", {"a", "b", "c", "d", "e"});
        defaults.set("language." + identifier, std::string(c.openBefore ? "fr" : "de"));
        engine.install({notes});
        engine.model->holdAfter(1);
        preferences.setAutoUpdate(true);

        auto library = makeLibrary();
        Workspace* workspace = c.openBefore ? &library->workspace(notes) : nullptr;
        ASSERT_TRUE(testing::processUntil([&] { return engine.model->held(); }));
        // From here on only the pass updates anything by itself.
        preferences.setAutoUpdate(false);
        if (c.openBefore)
            workspace->selectLanguage("de");
        else
            workspace = &library->workspace(notes);
        EXPECT_EQ(workspace->language(), "de");
        ASSERT_TRUE(testing::processUntil([&] { return workspace->project().has_value(); }));

        workspace->setText("Meins", quit);
        workspace->flush();
        engine.model->release();
        settle();

        const TranslationProject stored = TranslationProject::load(notes, "de");
        ASSERT_TRUE(stored.translations.contains(quit));
        EXPECT_EQ(stored.translations.at(quit).text, "Meins");
        EXPECT_EQ(workspace->project()->toJson(), stored.toJson());
        EXPECT_FALSE(library->updating());
    }
}

// A project whose edits the disk refused, kept aside when the person chose another language, is passed
// over by the background pass: the workspace writes its copy later, which would undo what the pass wrote.
TEST_F(LibraryTest, TheBackgroundPassLeavesAProjectAWorkspaceHoldsUnsaved) {
    const std::map<std::string, std::string> strings = fiveStringsCatalog();
    const std::string quit = sourceString("e", "Quit").id();
    preferences.setEndpoint("http://127.0.0.1:9/v1");
    preferences.setAutoUpdate(false);
    const std::string identifier = "com.example.heldunsaved";
    const TranslatableApp notes = bundle(identifier, "1", "Held", strings);
    writeTranslated(notes, "de", {"a", "b"});
    writeTranslated(notes, "fr", {"a", "b", "c", "d", "e"});
    auto library = libraryShowingGerman(notes);
    Workspace& workspace = library->workspace(notes);

    testing::FullDisk disk;
    workspace.setText("Meins", quit);
    timers.advance(Workspace::writeBackDelay);
    workspace.selectLanguage("fr");
    const std::vector<Workspace::UnsavedProject> unsaved = workspace.unsavedProjects();
    ASSERT_TRUE(std::any_of(unsaved.begin(), unsaved.end(), [](const Workspace::UnsavedProject& project) {
        return project.language == "de";
    }));
    const std::size_t callsBefore = engine.model->calls().size();
    preferences.setAutoUpdate(true);
    // A launch or quit counts the apps again, and the pass follows the count.
    rescan();
    EXPECT_EQ(engine.model->calls().size(), callsBefore);
    EXPECT_FALSE(library->updating());

    disk.full = false;
    workspace.flush();
    const TranslationProject stored = TranslationProject::load(notes, "de");
    ASSERT_TRUE(stored.translations.contains(quit));
    EXPECT_EQ(stored.translations.at(quit).text, "Meins");
    EXPECT_TRUE(workspace.unsavedProjects().empty());
}

TEST_F(LibraryTest, AScanOvertakenByANewerOneIsDropped) {
    struct Case {
        const char* name;
        // Which of the two scans finishes last.
        int lateScan;
    };
    for (const Case& c : {Case{"the older scan finishes last", 1}, Case{"the newer scan finishes last", 2}}) {
        SCOPED_TRACE(c.name);
        const TranslatableApp notes = app("com.example.Notes", "1", "Notes");
        const TranslatableApp installed = app("com.example.Fresh", "1", "Fresh");
        const int first = engine.scans() + 1;
        engine.holdScan(first + c.lateScan - 1);
        engine.install({notes});
        auto library = makeLibrary();
        ASSERT_TRUE(testing::processUntil([&] { return engine.scans() == first; }));
        // The app is installed after the first scan looked, before the second.
        engine.install({notes, installed});
        library->refresh();
        ASSERT_TRUE(testing::processUntil([&] { return engine.scans() == first + 1; }));
        if (c.lateScan == 1) {
            ASSERT_TRUE(testing::processUntil([&] { return library->apps().size() == 2; }));
        }
        engine.releaseHeld();
        settle();

        EXPECT_EQ(library->apps(), (std::vector{notes, installed}));
    }
}

TEST_F(LibraryTest, ACountOfAnOlderListIsDropped) {
    engine.scriptedStrings = fiveStrings();
    const TranslatableApp removed = app("com.example.Removed", "1", "Removed");
    const TranslatableApp installed = app("com.example.Installed", "1", "Installed");
    writeTranslated(removed, "de", {"a", "b"});
    writeTranslated(installed, "de", {"a", "b", "c"});
    engine.holdStrings(removed.bundleIdentifier);
    engine.install({removed});
    auto library = makeLibrary();
    // The count of the first list is under way, held at the removed app's strings.
    ASSERT_TRUE(testing::processUntil([&] { return library->apps() == std::vector{removed}; }));
    engine.install({installed});
    library->refresh();
    ASSERT_TRUE(testing::processUntil([&] { return !library->pending().empty(); }));
    engine.releaseHeld();
    settle();

    EXPECT_EQ(library->pending(), (Library::Pending{{installed.bundleIdentifier, 2}}));
}

TEST_F(LibraryTest, WorkspacesFollowTheirAppsAcrossRescans) {
    struct Case {
        const char* name;
        std::string newFolder;
        std::string expectVersion;
        bool expectReload;
    };
    const std::vector<Case> cases{
        {"updated in place, the open workspace reads the new strings", "Notes1", "2", true},
        {"moved elsewhere, the open workspace stays on the old bundle", "Moved2", "1", false},
    };
    engine.scriptedStrings = fiveStrings();
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = "com.example.follow" + std::to_string(++row);
        const TranslatableApp before = app(identifier, "1", "Notes" + std::to_string(row));
        const TranslatableApp after = app(identifier, "2", c.newFolder);
        writeProject(before, "de");
        engine.install({before});
        auto library = makeLibrary();
        settle();
        Workspace& workspace = library->workspace(before);
        workspace.selectLanguage("de");
        // An edit waiting for its write-back.
        workspace.setText("Öffnen", sourceString("a", "Open").id());
        const int loadsBefore = engine.loads;

        engine.install({after});
        rescan();
        EXPECT_EQ(workspace.app().version, c.expectVersion);
        EXPECT_EQ(engine.loads > loadsBefore, c.expectReload);

        // Opening the app at its new place replaces only the workspace of a moved app, and the edit
        // waiting in the old one reaches the new one.
        Workspace& opened = library->workspace(after);
        EXPECT_EQ(&opened == &workspace, c.expectReload);
        ASSERT_TRUE(opened.project().has_value());
        const auto found = opened.project()->translations.find(sourceString("a", "Open").id());
        ASSERT_NE(found, opened.project()->translations.end());
        EXPECT_EQ(found->second.text, "Öffnen");
    }
}

// The app is opened at its new place while its old workspace's run goes, with a result already handed
// to the main thread but not taken yet: the old run stops there, and the new workspace shows what is
// on disk, which nothing of the old one changes afterwards.
TEST_F(LibraryTest, AnAppOpenedAtItsNewPlaceShowsTheLastStateOnDisk) {
    struct Case {
        const char* name;
        std::function<void(Workspace&)> start;
    };
    const std::vector<Case> cases{
        {"a translate run", [](Workspace& workspace) { workspace.translate(false); }},
        {"Translate Changes", [](Workspace& workspace) { workspace.updateTranslations(); }},
    };
    engine.scriptedStrings = fiveStrings();
    const std::map<std::string, std::string> catalog = fiveStringsCatalog();
    preferences.setAutoUpdate(false);
    preferences.setEndpoint("http://127.0.0.1:9/v1");
    preferences.setBatchSize(1);
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = "com.example.move" + std::to_string(++row);
        const TranslatableApp before = bundle(identifier, "1", "Notes" + std::to_string(row), catalog);
        const TranslatableApp after = bundle(identifier, "1", "Moved" + std::to_string(row), catalog);
        writeTranslated(before, "de", {"a"});
        auto library = libraryShowingGerman(before);
        Workspace& workspace = library->workspace(before);
        engine.install({after});
        rescan();
        const int delivered = engine.model->delivered();
        engine.model->holdAfter(1);
        c.start(workspace);
        ASSERT_TRUE(testing::processUntil(
            [&] { return engine.model->held() && workspace.project()->translations.size() == 2; }));
        testing::processPendingEvents();
        engine.model->holdAfter(2);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!(engine.model->held() && engine.model->delivered() == delivered + 2) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();

        Workspace& opened = library->workspace(after);
        ASSERT_NE(&opened, &workspace);
        engine.model->release();
        settle();

        ASSERT_TRUE(opened.project().has_value());
        EXPECT_EQ(opened.project()->toJson(), TranslationProject::load(after, "de").toJson());
        library.reset();
        settle();
    }
}

// An edit the disk refused at the app's old place, and refused again when the old workspace quit, is
// shown at the new place and written there at the next chance, instead of giving way to the older file.
TEST_F(LibraryTest, EditsTheOldPlaceCouldNotWriteGoWithTheAppToItsNewPlace) {
    engine.scriptedStrings = fiveStrings();
    const std::map<std::string, std::string> catalog = fiveStringsCatalog();
    preferences.setAutoUpdate(false);
    const std::string identifier = "com.example.movedunsaved";
    const TranslatableApp before = bundle(identifier, "1", "Notes", catalog);
    const TranslatableApp after = bundle(identifier, "1", "Moved", catalog);
    writeTranslated(before, "de", {"a", "b", "c", "d", "e"});
    auto library = libraryShowingGerman(before);
    Workspace& workspace = library->workspace(before);
    const std::string edited = fiveStrings().front().id();

    testing::FullDisk disk;
    workspace.setText("Öffnen", edited);
    timers.advance(Workspace::writeBackDelay);
    ASSERT_EQ(workspace.unsavedProjects().size(), 1u);
    engine.install({after});
    rescan();
    Workspace& opened = library->workspace(after);
    settle();

    ASSERT_TRUE(opened.project().has_value());
    ASSERT_NE(opened.translation(edited), nullptr);
    EXPECT_EQ(opened.translation(edited)->text, "Öffnen");
    ASSERT_EQ(opened.unsavedProjects().size(), 1u);
    EXPECT_EQ(opened.unsavedProjects().front().app, "Moved");
    disk.full = false;
    opened.flush();
    EXPECT_EQ(TranslationProject::load(after, "de").translations.at(edited).text, "Öffnen");
    EXPECT_TRUE(opened.unsavedProjects().empty());
}

} // namespace
} // namespace orvel

namespace orvel {
namespace {

TEST_F(LibraryTest, TheEndOfAWorkspacesRunOrUpdateCountsItsAppAgain) {
    struct Case {
        const char* name;
        std::function<void(Workspace&)> act;
        int expectPending;
        // The run ends showing that its writes failed.
        bool refused = false;
    };
    const std::vector<Case> cases{
        {"Translate Changes", [](Workspace& workspace) { workspace.updateTranslations(); }, 0},
        {"a run of the untranslated strings", [](Workspace& workspace) { workspace.translate(false); }, 0},
        {"a run stopped before its model answered",
         [this](Workspace& workspace) {
             engine.model->holdAfter(0);
             workspace.translate(false);
             ASSERT_TRUE(testing::processUntil([&] { return engine.model->held(); }));
             workspace.stop();
             engine.model->release();
         },
         3},
        // The file still holds the project as it was before the run.
        {"a run whose writes the disk refused",
         [](Workspace& workspace) {
             testing::FullDisk disk;
             workspace.translate(false);
             settle();
         },
         3, true},
    };
    engine.scriptedStrings = fiveStrings();
    preferences.setAutoUpdate(false);
    preferences.setEndpoint("http://127.0.0.1:9/v1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A bundle on disk: Translate Changes reads the app's strings itself.
        const std::map<std::string, std::string> catalog = fiveStringsCatalog();
        const TranslatableApp notes = bundle("com.example.Notes", "1", "Notes", catalog);
        const TranslatableApp other = app("com.example.Other", "1", "Other");
        writeTranslated(notes, "de", {"a", "b"});
        // Not shown, so counted from its file: 2.
        writeTranslated(notes, "fr", {"a", "b", "c"});
        writeTranslated(other, "de", {"a"});
        defaults.set("language." + notes.bundleIdentifier, std::string("de"));
        engine.install({notes, other});
        auto library = makeLibrary();
        settle();
        ASSERT_EQ(library->pending(),
                  (Library::Pending{{notes.bundleIdentifier, 3 + 2}, {other.bundleIdentifier, 4}}));
        Workspace& workspace = library->workspace(notes);
        settle();

        c.act(workspace);
        settle();

        EXPECT_FALSE(workspace.translating());
        EXPECT_EQ(workspace.problem().has_value(), c.refused);
        // Without a rescan; the other app's count stays as it was.
        EXPECT_EQ(library->pending(), (Library::Pending{{notes.bundleIdentifier, c.expectPending + 2},
                                                        {other.bundleIdentifier, 4}}));
        library.reset();
        settle();
    }
}

} // namespace
} // namespace orvel
