#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/apps/OverlayWriter.h"
#include "tests/engine/apps/UpdaterFixture.h"

namespace orvel::testing {
namespace {

namespace fs = std::filesystem;

// Main: Open, Save, Close; Alerts: Quit.
const std::map<std::string, std::string> version1{
    {"Main.xcstrings", R"({"sourceLanguage": "en", "strings": {"Open": {}, "Save": {}, "Close": {}}})"},
    {"Alerts.xcstrings", R"({"sourceLanguage": "en", "strings": {"Quit": {}}})"}};

// "Save" reworded, "Close" gone, "Print" new.
const std::map<std::string, std::string> version2{
    {"Main.xcstrings", R"({"sourceLanguage": "en", "strings": {"Open": {}, "Print": {},
        "Save": {"localizations": {"en": {"stringUnit": {"value": "Save As"}}}}}})"},
    {"Alerts.xcstrings", R"({"sourceLanguage": "en", "strings": {"Quit": {}}})"}};

class TranslationUpdaterTest : public UpdaterTest {
  protected:
    // The app at `catalogs` with every string translated and recorded, saved and published.
    void translatedAt(const std::map<std::string, std::string>& catalogs) {
        updateApp(catalogs, "1.0");
        for (const auto& s : strings)
            project.translations[s.id()] = textTranslation(s.text, "de:" + s.text);
        project.recordSource(strings, app.version);
        project.save(app);
        OverlayWriter::publish(project, strings, app, "Orvel");
    }
};

TEST_F(TranslationUpdaterTest, NothingChangedStillRecordsAndPublishes) {
    translatedAt(version1);
    fs::remove(overlay() / "language.json");
    updateApp(version1, "1.1");

    const auto outcome = update();

    EXPECT_TRUE(outcome.changes.isEmpty());
    EXPECT_EQ(outcome.changes.unchanged, 4);
    EXPECT_TRUE(outcome.failed.empty());
    EXPECT_TRUE(model.calls.empty());
    EXPECT_EQ(stored().appVersion, "1.1");
    EXPECT_TRUE(fs::exists(overlay() / "language.json"));
    EXPECT_EQ(published("Main").at("Save"), "de:Save");
}

TEST_F(TranslationUpdaterTest, SeenListsComeFromTheAppsState) {
    const std::string state = R"({"protocol": 1, "pid": 7, "revision": 1, "probe": false, "capabilities": [],
        "screens": [], "markers": {}, "updated": "2025-01-01T00:00:00Z", "seen": [["Main", "Hello there"]]})";
    struct Case {
        std::string name;
        std::optional<std::string> stateFile;
        // The state lies elsewhere and "state.json" is a link to it.
        bool linked;
        std::vector<std::string> expectedSent;
    };
    const std::vector<Case> cases{
        {"no state.json", std::nullopt, false, {}},
        {"a state that does not decode", "{\"seen\": [[\"Main\", \"Hello there\"]]}", false, {}},
        {"a string the running app showed", state, false, {idOf("Main", "Hello there")}},
        {"a link in the place of state.json is not followed", state, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model = {};
        resetProject();
        translatedAt(version1);
        const fs::path stateFile = app.dataFolder() / "state.json";
        fs::remove(stateFile);
        if (c.stateFile && c.linked)
            fs::create_symlink(scratch.write("elsewhere/state.json", *c.stateFile), stateFile);
        else if (c.stateFile)
            scratch.write(stateFile, *c.stateFile);

        update();

        EXPECT_EQ(model.sent, c.expectedSent);
        EXPECT_EQ(stored().sourceText->contains(idOf("Main", "Hello there")), !c.expectedSent.empty());
    }
}

TEST_F(TranslationUpdaterTest, AMissingOrDamagedProjectIsRebuiltFromTheOverlay) {
    struct Case {
        std::string name;
        std::optional<std::string> projectFile;
    };
    const std::vector<Case> cases{{"missing", std::nullopt}, {"damaged", "{\"app\": 3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetProject();
        translatedAt(version1);
        fs::remove(fs::path(projectFile()) += ".broken");
        if (c.projectFile)
            scratch.write(projectFile(), *c.projectFile);
        else
            fs::remove(projectFile());

        update();

        const TranslationProject rebuilt = stored();
        EXPECT_EQ(rebuilt.translations.at(idOf("Main", "Open")).text, "de:Open");
        EXPECT_EQ(rebuilt.translations.at(idOf("Main", "Open")).origin, StringTranslation::Origin::person);
        EXPECT_EQ(rebuilt.sourceText->size(), 4u);
        const fs::path broken = fs::path(projectFile()) += ".broken";
        EXPECT_EQ(fs::exists(broken), c.projectFile.has_value());
        if (c.projectFile) {
            EXPECT_EQ(readBytes(broken), *c.projectFile);
        }
    }
}

TEST_F(TranslationUpdaterTest, AStringNewSinceTheRebuildIsOfferedByTheNextUpdate) {
    struct Case {
        std::string name;
        std::map<std::string, std::string> catalogs;
    };
    std::map<std::string, std::string> printAdded = version1;
    printAdded["Main.xcstrings"] =
        R"({"sourceLanguage": "en", "strings": {"Open": {}, "Save": {}, "Close": {}, "Print": {}}})";
    const std::vector<Case> cases{{"a new string", printAdded},
                                  {"a new string while others were reworded and removed", version2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model = {};
        resetProject();
        translatedAt(version1);
        fs::remove(projectFile());
        fs::remove(fs::path(projectFile()) += ".broken");
        updateApp(c.catalogs, "2.0");

        update();

        // The rebuild cannot tell the new string from an old one, so it is not translated now...
        EXPECT_FALSE(stored().translations.contains(idOf("Main", "Print")));
        EXPECT_FALSE(stored().sourceText->contains(idOf("Main", "Print")));
        EXPECT_TRUE(stored().sourceText->contains(idOf("Main", "Open")));
        // ...but it is not marked done either: the next update offers it.
        model.sent.clear();
        const auto outcome = update();
        ASSERT_EQ(outcome.changes.added.size(), 1u);
        EXPECT_EQ(outcome.changes.added.front().id(), idOf("Main", "Print"));
        EXPECT_EQ(model.sent, std::vector<std::string>{idOf("Main", "Print")});
        EXPECT_EQ(stored().translations.at(idOf("Main", "Print")).text, "de:Print");
    }
}

TEST_F(TranslationUpdaterTest, FailedStringsKeepTheRecordedEnglish) {
    struct Case {
        std::string name;
        std::set<std::string> rejected;
        std::optional<std::string> expectedVersion;
        std::vector<std::string> reportedAgain;
    };
    const std::vector<Case> cases{
        {"all translated", {}, "2.0", {}},
        {"the reworded string failed", {idOf("Main", "Save")}, "1.0", {idOf("Main", "Save")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model = {};
        model.rejected = c.rejected;
        resetProject();
        translatedAt(version1);
        updateApp(version2, "2.0");

        const auto outcome = update();

        // The changes as found, before they were applied.
        ASSERT_EQ(outcome.changes.changed.size(), 1u);
        EXPECT_EQ(outcome.changes.changed[0].oldText, "Save");
        EXPECT_EQ(outcome.changes.added.size(), 1u);
        EXPECT_EQ(model.sent, (std::vector<std::string>{idOf("Main", "Print"), idOf("Main", "Save")}));
        EXPECT_EQ(outcome.failed.size(), c.rejected.size());
        // The others are saved and published whatever failed.
        const TranslationProject after = stored();
        EXPECT_EQ(after.translations.at(idOf("Main", "Print")).text, "de:Print");
        EXPECT_EQ(published("Main").at("Print"), "de:Print");
        EXPECT_EQ(after.appVersion, c.expectedVersion);
        std::vector<std::string> again;
        for (const auto& s : StringChanges::compute(after, strings).toTranslate())
            again.push_back(s.id());
        EXPECT_EQ(again, c.reportedAgain);
    }
}

TEST_F(TranslationUpdaterTest, ARemovedStringIsRetiredAndUnpublished) {
    struct Case {
        std::string name;
        std::map<std::string, std::string> catalogs;
    };
    const std::vector<Case> cases{
        {"nothing else changed",
         {{"Main.xcstrings", R"({"sourceLanguage": "en", "strings": {"Open": {}, "Save": {}}})"},
          {"Alerts.xcstrings", R"({"sourceLanguage": "en", "strings": {"Quit": {}}})"}}},
        {"alongside strings to translate", version2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetProject();
        translatedAt(version1);
        ASSERT_EQ(published("Main").count("Close"), 1u);
        updateApp(c.catalogs, "2.0");

        const auto outcome = update();

        EXPECT_EQ(outcome.changes.removed.count(idOf("Main", "Close")), 1u);
        const TranslationProject after = stored();
        EXPECT_EQ(after.retired.at(idOf("Main", "Close")).text, "de:Close");
        EXPECT_FALSE(after.translations.contains(idOf("Main", "Close")));
        EXPECT_EQ(published("Main").count("Close"), 0u);
    }
}

TEST_F(TranslationUpdaterTest, KeyTermsAreChosenAgainKeepingOldOnes) {
    struct Case {
        std::string name;
        bool termsFail;
        std::vector<std::string> expectedCalls;
        std::map<std::string, std::string> expectedTerms;
    };
    const std::vector<Case> cases{
        {"chosen", false, {"apple", "software", "terms", "run"}, {{"Open", "Öffnen"}, {"Quit", "Beenden"}}},
        {"the choice fails", true, {"apple", "software", "terms"}, {{"Open", "Öffnen"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model = {};
        model.termsFail = c.termsFail;
        resetProject();
        project.terms = {{"Open", "Öffnen"}};
        translatedAt(version1);
        updateApp(version2, "2.0");

        if (c.termsFail)
            EXPECT_THROW(update(), std::runtime_error);
        else
            update();

        EXPECT_EQ(model.calls, c.expectedCalls);
        EXPECT_EQ(model.termsAsked, project.terms);
        EXPECT_EQ(model.termLimit, 60u);
        EXPECT_EQ(model.termStrings, strings.size());
        const TranslationProject after = stored();
        EXPECT_EQ(after.terms, c.expectedTerms);
        if (!c.termsFail) {
            EXPECT_EQ(model.termsOfTheRun, c.expectedTerms);
        }
        // The applied changes were saved before the terms were asked for.
        EXPECT_TRUE(after.retired.contains(idOf("Main", "Close")));
    }
}

} // namespace
} // namespace orvel::testing
