// Edits whose write-back met a full disk: the project is written again at every chance (the next edit, a
// language switch, the workspace quitting or ending) until the disk takes it, and what is still unsaved is
// there for the application to report. The real serial writer makes the writes; the disk is a seam.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/OrvelPaths.h"
#include "core/StringsFiles.h"
#include "tests/Orvel/state/FullDisk.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel::testing {
namespace {

constexpr const char* openID = "Main\x1FOpen";
constexpr const char* saveID = "Main\x1FSave";
// What the project file and the overlay hold of a string.
using OnDisk = std::pair<std::string, std::string>;
const OnDisk nothing{"", ""};
const OnDisk typed{"Öffnen", "Öffnen"};

class WorkspaceUnsavedTest : public WorkspaceTest {
  protected:
    // The app with "Open" and "Save", opened in German with a project translating neither.
    std::unique_ptr<Workspace> openGerman() {
        app = makeApp({{"Open", "Open"}, {"Save", "Save"}});
        writeProject(app, "de");
        defaults.set(std::string("language.") + bundleID, std::string("de"));
        return open(app);
    }

    // "Öffnen" typed for "Open" and written back onto the full disk.
    void editOnFullDisk(Workspace& workspace) {
        workspace.setText("Öffnen", openID);
        timers.advance(Workspace::writeBackDelay);
        ASSERT_TRUE(workspace.problem().has_value());
        ASSERT_EQ(workspace.unsavedProjects().size(), 1u);
    }

    // openGerman() on a disk with room, then editOnFullDisk() once it is full.
    std::unique_ptr<Workspace> openWithAnEditTheDiskRefused() {
        disk.full = false;
        auto workspace = openGerman();
        disk.full = true;
        editOnFullDisk(*workspace);
        return workspace;
    }

    // The German text of `key` in the project file and in the overlay the app loads; empty when absent.
    OnDisk onDisk(const std::string& key) const {
        const auto& stored = TranslationProject::load(app, "de").translations;
        const auto file = stored.find("Main\x1F" + key);
        const auto overlay =
            StringsFiles::readStrings(OrvelPaths::lproj("de", app.dataFolder()) / "Main.strings");
        const auto shown = overlay.find(key);
        return {file == stored.end() ? "" : file->second.text.value_or(""),
                shown == overlay.end() ? "" : shown->second};
    }

    TranslatableApp app;
    FullDisk disk;
};

TEST_F(WorkspaceUnsavedTest, AFailedWriteIsMadeAgainAtTheNextChance) {
    struct Case {
        const char* name;
        // Gives the workspace its chance; may end it.
        std::function<void(std::unique_ptr<Workspace>&)> chance;
    };
    const std::vector<Case> cases{
        {"the next edit of another string",
         [&](std::unique_ptr<Workspace>& w) {
             w->setText("Sichern", saveID);
             timers.advance(Workspace::writeBackDelay);
         }},
        {"a language switch", [](std::unique_ptr<Workspace>& w) { w->selectLanguage("fr"); }},
        {"no language chosen", [](std::unique_ptr<Workspace>& w) { w->selectLanguage(std::nullopt); }},
        {"the workspace quitting", [](std::unique_ptr<Workspace>& w) { w->quit(); }},
        {"the workspace ending", [](std::unique_ptr<Workspace>& w) { w.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openWithAnEditTheDiskRefused();
        EXPECT_EQ(onDisk("Open"), nothing);

        disk.full = false;
        c.chance(workspace);

        EXPECT_EQ(onDisk("Open"), typed);
        if (workspace) {
            EXPECT_TRUE(workspace->unsavedProjects().empty());
        }
    }
}

TEST_F(WorkspaceUnsavedTest, EditsTheDiskStillRefusesStayUntilItTakesThem) {
    struct Case {
        const char* name;
        // Runs while the disk is still full, then after it is freed.
        std::function<void(std::unique_ptr<Workspace>&)> whileFull;
        std::function<void(std::unique_ptr<Workspace>&)> once;
        // The project still unsaved before the disk is freed.
        std::vector<std::string> unsavedWhileFull;
    };
    const std::vector<Case> cases{
        {"another language chosen, then the workspace ends",
         [](std::unique_ptr<Workspace>& w) { w->selectLanguage("fr"); },
         [](std::unique_ptr<Workspace>& w) { w.reset(); },
         {"de"}},
        {"another language chosen, then it quits",
         [](std::unique_ptr<Workspace>& w) { w->selectLanguage("fr"); },
         [](std::unique_ptr<Workspace>& w) { w->quit(); },
         {"de"}},
        {"another language chosen and back again: the edit is shown, and written by the next edit",
         [](std::unique_ptr<Workspace>& w) {
             w->selectLanguage("fr");
             w->selectLanguage("de");
             const StringTranslation* shown = w->translation(openID);
             ASSERT_NE(shown, nullptr);
             EXPECT_EQ(shown->text, "Öffnen");
         },
         [&](std::unique_ptr<Workspace>& w) {
             w->setText("Sichern", saveID);
             timers.advance(Workspace::writeBackDelay);
         },
         {"de"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto workspace = openWithAnEditTheDiskRefused();

        c.whileFull(workspace);
        std::vector<std::string> unsaved;
        for (const Workspace::UnsavedProject& project : workspace->unsavedProjects()) {
            EXPECT_EQ(project.app, app.name);
            EXPECT_NE(project.error.find("No space left on device"), std::string::npos) << project.error;
            unsaved.push_back(project.language);
        }
        EXPECT_EQ(unsaved, c.unsavedWhileFull);
        EXPECT_EQ(onDisk("Open"), nothing);

        disk.full = false;
        c.once(workspace);
        EXPECT_EQ(onDisk("Open"), typed);
    }
}

} // namespace
} // namespace orvel::testing
