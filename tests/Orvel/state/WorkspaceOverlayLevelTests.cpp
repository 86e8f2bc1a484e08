// A kill between a project's write and its overlay's leaves the overlay behind: the workspace that loads
// such a project (as it opens, or when its language is chosen) publishes it again, and leaves an overlay
// that is level alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "engine/apps/OverlayWriter.h"
#include "tests/Orvel/state/WorkspaceFixture.h"
#include "tests/support/RecordingFileCalls.h"

namespace orvel::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* openID = "Main\x1FOpen";
constexpr const char* saveID = "Main\x1FSave";

StringTranslation madeFrom(std::string english, std::string text) {
    StringTranslation translation = translated(std::move(text));
    translation.source = std::move(english);
    return translation;
}

class WorkspaceOverlayLevelTest : public WorkspaceTest {
  public:
    fs::path overlay(const std::string& language) const {
        return OrvelPaths::lproj(language, app.dataFolder());
    }

    // The project of `language` with `published` on disk, file and overlay, then `saved` written over the
    // file alone, as a kill after the project's write leaves them; no file at all when `saved` is none.
    void killedBetween(const std::string& language, const std::map<std::string, StringTranslation>& published,
                       const std::optional<std::map<std::string, StringTranslation>>& saved) {
        TranslationProject project;
        project.app = bundleID;
        project.language = language;
        project.translations = published;
        OverlayWriter::publish(project, app.loadStrings({}), app, "Orvel");
        if (!saved)
            return;
        project.translations = *saved;
        project.save(app);
    }

  protected:
    TranslatableApp app;
};

TEST_F(WorkspaceOverlayLevelTest, AProjectLoadedAheadOfItsOverlayIsPublishedAgain) {
    const std::map<std::string, StringTranslation> old{{openID, madeFrom("Open", "Offnen")},
                                                       {saveID, madeFrom("Save", "Sichern")}};
    const std::map<std::string, StringTranslation> newer{{openID, madeFrom("Open", "Öffnen")},
                                                         {saveID, madeFrom("Save", "Sichern")}};
    const std::map<std::string, StringTranslation> cleared{{saveID, madeFrom("Save", "Sichern")}};
    struct Case {
        const char* name;
        // The overlay's state after the kill, and the project file's (none: the overlay alone).
        std::map<std::string, StringTranslation> published;
        std::optional<std::map<std::string, StringTranslation>> saved;
        // After the kill, before the start.
        std::function<void(WorkspaceOverlayLevelTest&)> after;
        // How the project is loaded: by opening in German, or by choosing German once open in French.
        bool chosenLater;
        bool publishedAgain;
        // The overlay's "Main" table afterwards.
        StringsFiles::SimpleTable shown;
    };
    const auto nothing = [](WorkspaceOverlayLevelTest&) {};
    const std::vector<Case> cases{
        {"a newer translation, on opening",
         old,
         newer,
         nothing,
         false,
         true,
         {{"Open", "Öffnen"}, {"Save", "Sichern"}}},
        {"a newer translation, on choosing the language",
         old,
         newer,
         nothing,
         true,
         true,
         {{"Open", "Öffnen"}, {"Save", "Sichern"}}},
        {"a translation cleared", old, cleared, nothing, false, true, {{"Save", "Sichern"}}},
        {"the tables written, the record not",
         newer,
         newer,
         [](WorkspaceOverlayLevelTest& t) { fs::remove(t.overlay("de") / "language.json"); },
         false,
         true,
         {{"Open", "Öffnen"}, {"Save", "Sichern"}}},
        {"an overlay level with its project",
         newer,
         newer,
         nothing,
         false,
         false,
         {{"Open", "Öffnen"}, {"Save", "Sichern"}}},
        {"an overlay level with its project, on choosing the language",
         newer,
         newer,
         nothing,
         true,
         false,
         {{"Open", "Öffnen"}, {"Save", "Sichern"}}},
        {"an overlay without a project file",
         old,
         std::nullopt,
         nothing,
         false,
         false,
         {{"Open", "Offnen"}, {"Save", "Sichern"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(scratch.path() / "home");
        app = makeApp({{"Open", "Open"}, {"Save", "Save"}});
        killedBetween("de", c.published, c.saved);
        c.after(*this);
        defaults.set(std::string("language.") + bundleID, std::string(c.chosenLater ? "fr" : "de"));

        // The workspace's file work is made in place, on this thread, where the recorder sees it.
        RecordingFileCalls recorder;
        auto workspace = open(app);
        if (c.chosenLater)
            workspace->selectLanguage("de");
        processPendingEvents();

        const auto& calls = recorder.calls();
        EXPECT_EQ(std::find(calls.begin(), calls.end(), "rename language.json") != calls.end(),
                  c.publishedAgain);
        EXPECT_TRUE(fs::is_regular_file(overlay("de") / "language.json"));
        EXPECT_EQ(StringsFiles::readStrings(overlay("de") / "Main.strings"), c.shown);
        EXPECT_FALSE(workspace->problem());
    }
}

} // namespace
} // namespace orvel::testing
