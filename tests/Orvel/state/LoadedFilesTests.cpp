#include "Orvel/state/LoadedFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Orvel/state/BackgroundUpdates.h"
#include "Orvel/state/InertEngine.h"
#include "core/OrvelPaths.h"
#include "tests/support/ScratchFolder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// Serves one string per read, counts the reads, and can hold them until the test lets them go.
class CountingEngine : public InertEngine {
  public:
    std::vector<SourceString> loadStrings(const TranslatableApp&, const SeenLists&) const override {
        ++reads;
        std::unique_lock lock(m_mutex);
        m_released.wait(lock, [&] { return !held; });
        SourceString string;
        string.table = "Main";
        string.key = "Open";
        string.text = english;
        return {string};
    }
    void release() {
        {
            std::lock_guard lock(m_mutex);
            held = false;
        }
        m_released.notify_all();
    }

    mutable std::atomic<int> reads = 0;
    std::string english = "Open";
    bool held = false;

  private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_released;
};

// The table rows below reach into the fixture: its members are public.
class LoadedFilesTest : public ::testing::Test {
  public:
    LoadedFilesTest() {
        OrvelPaths::setHomeOverride(scratch.path() / "home");
        const fs::path catalogs = scratch.path() / "Notes.app" / "Contents" / "Resources" / "Orvel";
        fs::create_directories(catalogs);
        app.bundleURL = scratch.path() / "Notes.app";
        app.bundleIdentifier = "com.example.Notes";
        app.version = "1.0";
        for (const char* name : {"Main.xcstrings", "Menu.xcstrings"}) {
            app.catalogURLs.push_back(catalogs / name);
            testing::writeBytes(app.catalogURLs.back(), R"({"sourceLanguage":"en","strings":{}})");
        }
    }
    ~LoadedFilesTest() override { OrvelPaths::setHomeOverride(std::nullopt); }

    void writeProject(const std::string& language, const std::string& translated) {
        TranslationProject project;
        project.app = app.bundleIdentifier;
        project.language = language;
        StringTranslation translation;
        translation.text = translated;
        translation.source = "Open";
        project.translations.emplace(SourceString::id("Main", "Open"), translation);
        project.save(app);
    }

    // Rewrites a file in place with other bytes, as an editor or an app update would.
    static void rewrite(const fs::path& file, const std::string& bytes) { testing::writeBytes(file, bytes); }
    // Puts a new file in place of the old one, as an atomic save does.
    static void replace(const fs::path& file) {
        const std::string bytes = testing::readBytes(file);
        fs::remove(file);
        testing::writeBytes(file, bytes);
    }

    testing::ScratchFolder scratch;
    TranslatableApp app;
    CountingEngine engine;
    LoadedFiles files;
};

TEST_F(LoadedFilesTest, StringsAreReadAgainOnlyWhenWhatTheyComeFromChanged) {
    struct Case {
        const char* name;
        // What happens between the first ask, whose strings are still held, and the second.
        std::function<void(LoadedFilesTest&, TranslatableApp&, EngineFacade::SeenLists&, LoadedFiles::Reuse&)>
            between;
        bool expectReadAgain;
    };
    using Seen = EngineFacade::SeenLists;
    using Reuse = LoadedFiles::Reuse;
    const std::vector<Case> cases{
        {"nothing", [](auto&, auto&, auto&, auto&) {}, false},
        {"a catalog rewritten",
         [](auto&, TranslatableApp& a, Seen&, Reuse&) {
             rewrite(a.catalogURLs[1], R"({"sourceLanguage":"en","strings":{"New":{}}})");
         },
         true},
        {"a catalog replaced by a copy of itself",
         [](auto&, TranslatableApp& a, Seen&, Reuse&) { replace(a.catalogURLs[0]); }, true},
        {"a catalog removed", [](auto&, TranslatableApp& a, Seen&, Reuse&) { fs::remove(a.catalogURLs[0]); },
         true},
        {"a catalog added",
         [](auto&, TranslatableApp& a, Seen&, Reuse&) {
             a.catalogURLs.push_back(a.catalogURLs[0].parent_path() / "Extra.xcstrings");
             testing::writeBytes(a.catalogURLs.back(), "{}");
         },
         true},
        {"another version of the app", [](auto&, TranslatableApp& a, Seen&, Reuse&) { a.version = "1.1"; },
         true},
        {"other seen lists",
         [](auto&, TranslatableApp&, Seen& seen, Reuse&) {
             seen = {{"Main", "Close"}};
         },
         true},
        {"a read that must not reuse",
         [](auto&, TranslatableApp&, Seen&, Reuse& reuse) { reuse = Reuse::never; }, true},
        {"an app without catalogs", [](auto&, TranslatableApp& a, Seen&, Reuse&) { a.catalogURLs.clear(); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedFiles fresh;
        TranslatableApp asked = app;
        for (const fs::path& catalog : app.catalogURLs)
            testing::writeBytes(catalog, R"({"sourceLanguage":"en","strings":{}})");
        fs::remove(app.catalogURLs[0].parent_path() / "Extra.xcstrings");
        Seen seen;
        Reuse reuse = Reuse::whileUnchanged;
        engine.reads = 0;
        const LoadedFiles::Strings first = fresh.strings(asked, seen, engine);
        c.between(*this, asked, seen, reuse);
        const LoadedFiles::Strings second = fresh.strings(asked, seen, engine, reuse);
        EXPECT_EQ(engine.reads, c.expectReadAgain ? 2 : 1);
        EXPECT_EQ(first == second, !c.expectReadAgain);
        // What was read last serves the next caller that may reuse.
        if (!asked.catalogURLs.empty()) {
            EXPECT_EQ(fresh.strings(asked, seen, engine), second);
            EXPECT_EQ(engine.reads, c.expectReadAgain ? 2 : 1);
        }
    }
}

TEST_F(LoadedFilesTest, StringsNobodyHoldsAnyMoreAreReadAgain) {
    files.strings(app, {}, engine);
    files.strings(app, {}, engine);
    EXPECT_EQ(engine.reads, 2);
}

TEST_F(LoadedFilesTest, ACallerAskingDuringAReadTakesWhatThatReadGives) {
    engine.held = true;
    LoadedFiles::Strings first;
    std::thread reader([&] { first = files.strings(app, {}, engine); });
    while (engine.reads == 0)
        std::this_thread::yield();
    LoadedFiles::Strings second;
    std::thread waiter([&] { second = files.strings(app, {}, engine); });
    // The second caller would read beside the first were it not waiting: give it the chance.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    engine.release();
    reader.join();
    waiter.join();
    EXPECT_EQ(engine.reads, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
}

TEST_F(LoadedFilesTest, AProjectIsDecodedAgainOnlyWhenItsFileChanged) {
    struct Case {
        const char* name;
        std::function<void(LoadedFilesTest&)> between;
        bool expectNew;
        std::optional<std::string> expectText;
    };
    const std::vector<Case> cases{
        {"nothing", [](LoadedFilesTest&) {}, false, "Öffnen"},
        {"saved again with another translation",
         [](LoadedFilesTest& t) { t.writeProject("de", "Aufmachen"); }, true, "Aufmachen"},
        {"replaced by a copy of itself",
         [](LoadedFilesTest& t) { replace(TranslationProject::fileURL(t.app, "de")); }, true, "Öffnen"},
        {"removed", [](LoadedFilesTest& t) { fs::remove(TranslationProject::fileURL(t.app, "de")); }, true,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedFiles fresh;
        writeProject("de", "Öffnen");
        const LoadedFiles::Project first = fresh.project(app, "de");
        c.between(*this);
        const LoadedFiles::Project second = fresh.project(app, "de");
        EXPECT_EQ(first != second, c.expectNew);
        const auto found = second->translations.find(SourceString::id("Main", "Open"));
        EXPECT_EQ(found == second->translations.end() ? std::nullopt : found->second.text, c.expectText);
    }
}

TEST_F(LoadedFilesTest, ACountStandsWhileTheProjectAndTheStringsItWasMadeFromStand) {
    struct Case {
        const char* name;
        // Whether the count depended on the strings.
        bool withStrings;
        std::function<void(LoadedFilesTest&, TranslatableApp&, LoadedFiles::Strings&)> between;
        bool expectKept;
    };
    const std::vector<Case> cases{
        {"nothing", true, [](auto&, auto&, auto&) {}, true},
        {"the project saved again", true,
         [](LoadedFilesTest& t, auto&, auto&) { t.writeProject("de", "Auf"); }, false},
        {"a catalog rewritten", true,
         [](auto&, TranslatableApp& a, auto&) { rewrite(a.catalogURLs[0], R"({"strings":{}})"); }, false},
        {"a catalog rewritten, for a count without strings", false,
         [](auto&, TranslatableApp& a, auto&) { rewrite(a.catalogURLs[0], R"({"strings":{}})"); }, true},
        {"another version", true, [](auto&, TranslatableApp& a, auto&) { a.version = "2.0"; }, false},
        {"the app gone from the list", true, [](LoadedFilesTest& t, auto&, auto&) { t.files.keepOnly({}); },
         false},
        {"another app gone from the list", true,
         [](LoadedFilesTest& t, TranslatableApp& a, auto&) { t.files.keepOnly({a}); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.keepOnly({});
        TranslatableApp asked = app;
        writeProject("de", "Öffnen");
        for (const fs::path& catalog : app.catalogURLs)
            testing::writeBytes(catalog, R"({"sourceLanguage":"en","strings":{}})");
        LoadedFiles::Strings strings = c.withStrings ? files.strings(asked, {}, engine) : nullptr;
        const LoadedFiles::Project project = files.project(asked, "de");
        files.rememberCount(asked, "de", {}, project, strings, 7);
        c.between(*this, asked, strings);
        const std::optional<LoadedFiles::Count> kept = files.count(asked, "de", {});
        EXPECT_EQ(kept.has_value(), c.expectKept);
        if (kept) {
            EXPECT_EQ(*kept, 7);
        }
    }
}

TEST_F(LoadedFilesTest, ACountOfValuesNoLongerOnDiskIsNotRemembered) {
    writeProject("de", "Öffnen");
    const LoadedFiles::Project old = files.project(app, "de");
    writeProject("de", "Auf");
    // Read again by somebody else before the count of the old one comes in.
    const LoadedFiles::Project current = files.project(app, "de");
    files.rememberCount(app, "de", {}, old, nullptr, 3);
    EXPECT_FALSE(files.count(app, "de", {}).has_value());
    files.rememberCount(app, "de", {}, current, nullptr, 4);
    EXPECT_EQ(files.count(app, "de", {}), LoadedFiles::Count(4));
}

TEST_F(LoadedFilesTest, TheMeasureReadsOnlyWhatNobodyReadSinceItLastChanged) {
    struct Step {
        const char* name;
        // What happens before the measure; `shown` stands for the strings an open workspace holds.
        std::function<void(LoadedFilesTest&, LoadedFiles::Strings& shown)> before;
        int expectReads;
        int expectCount;
    };
    const std::vector<Step> steps{
        {"the first measure, with the strings an open workspace read", [](auto&, auto&) {}, 0, 1},
        {"nothing changed", [](auto&, auto&) {}, 0, 1},
        {"the project now translates the string",
         [](LoadedFilesTest& t, auto&) { t.writeProject("de", "Öffnen"); }, 0, 0},
        {"the app's English changed and the workspace read it again",
         [](LoadedFilesTest& t, LoadedFiles::Strings& shown) {
             t.engine.english = "Open…";
             rewrite(t.app.catalogURLs[0], R"({"sourceLanguage":"en","strings":{"x":{}}})");
             shown = t.files.strings(t.app, {}, t.engine, LoadedFiles::Reuse::never);
         },
         0, 1},
        {"the workspace closed, then a catalog changed",
         [](LoadedFilesTest& t, LoadedFiles::Strings& shown) {
             shown.reset();
             rewrite(t.app.catalogURLs[1], R"({"sourceLanguage":"en","strings":{"y":{}}})");
         },
         1, 1},
        {"nothing changed since", [](auto&, auto&) {}, 0, 1},
    };
    // A project that recorded the English but translated nothing yet: the one string is to translate.
    TranslationProject project;
    project.app = app.bundleIdentifier;
    project.language = "de";
    project.sourceText = std::map<std::string, std::string>{};
    project.save(app);
    LoadedFiles::Strings shown = files.strings(app, {}, engine);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.before(*this, shown);
        engine.reads = 0;
        const std::vector<BackgroundUpdates::Item> items = BackgroundUpdates::measure({app}, engine, files);
        EXPECT_EQ(engine.reads, step.expectReads);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items.front().count, step.expectCount);
    }
}

} // namespace
} // namespace orvel
