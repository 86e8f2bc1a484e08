// Whether an app's overlay holds what publishing a project would write: after the project was published,
// and after each way a kill or another program can leave the overlay apart from it.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/StringsFiles.h"
#include "engine/apps/OverlayWriter.h"
#include "tests/engine/apps/OverlayFixture.h"

namespace orvel::testing {
namespace {

namespace fs = std::filesystem;

class OverlayPublishedTest : public OverlayTest {
  public:
    // For the cases, which change them.
    using OverlayTest::overlay;
    using OverlayTest::project;
};

TEST_F(OverlayPublishedTest, TellsAnOverlayLevelWithItsProjectFromOneLeftBehind) {
    struct Case {
        const char* name;
        // Changes the project after it was published, or the overlay on disk.
        std::function<void(OverlayPublishedTest&)> change;
        bool published;
    };
    const std::vector<Case> cases{
        {"as published", [](OverlayPublishedTest&) {}, true},
        {"a translation changed since",
         [](OverlayPublishedTest& t) { t.project.translations[idOf("Main", "Open")].text = "Aufmachen"; },
         false},
        {"a translation cleared since",
         [](OverlayPublishedTest& t) { t.project.translations.erase(idOf("Main", "Open")); }, false},
        {"a plural form changed since",
         [](OverlayPublishedTest& t) {
             t.project.translations[idOf("Main", "files")].plural->at("one") = "%lld Akte";
         },
         false},
        {"a table's last translation cleared since",
         [](OverlayPublishedTest& t) { t.project.translations.erase(idOf("Alerts", "Quit")); }, false},
        {"a translation made from other English, changed since",
         [](OverlayPublishedTest& t) { t.project.translations[idOf("Main", "Save")].source = "Save As"; },
         false},
        {"a table file missing", [](OverlayPublishedTest& t) { fs::remove(t.overlay() / "Main.strings"); },
         false},
        {"the language record missing",
         [](OverlayPublishedTest& t) { fs::remove(t.overlay() / "language.json"); }, false},
        {"a table file nobody publishes",
         [](OverlayPublishedTest& t) {
             StringsFiles::writeStrings({{"Old", "Alt"}}, t.overlay() / "Old.strings");
         },
         false},
        {"a table file edited by hand",
         [](OverlayPublishedTest& t) {
             StringsFiles::writeStrings({{"Open", "Öffnen"}, {"Save", "Speichern!"}},
                                        t.overlay() / "Main.strings");
         },
         false},
        {"another language record",
         [](OverlayPublishedTest& t) { StringsFiles::writeAtomically("{}", t.overlay() / "language.json"); },
         true},
        {"a temporary file left beside",
         [](OverlayPublishedTest& t) {
             StringsFiles::writeAtomically(
                 "half", t.overlay() / ".Main.strings.0E7A4D0C-2D9B-4C1E-9F55-1B1B0C0D0E0F.tmp");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(overlay());
        project.translations = {
            {idOf("Main", "Open"), textTranslation("Open", "Öffnen")},
            {idOf("Main", "Save"), textTranslation("Save", "Speichern")},
            {idOf("Main", "files"),
             pluralTranslation("%lld files", {{"one", "%lld Datei"}, {"other", "%lld Dateien"}})},
            {idOf("Alerts", "Quit"), textTranslation("Quit", "Beenden")},
        };
        OverlayWriter::publish(project, strings, app, "Orvel");
        ASSERT_TRUE(OverlayWriter::isPublished(project, strings, app));

        c.change(*this);

        EXPECT_EQ(OverlayWriter::isPublished(project, strings, app), c.published);
        // Publishing again always brings the overlay level.
        OverlayWriter::publish(project, strings, app, "Orvel");
        EXPECT_TRUE(OverlayWriter::isPublished(project, strings, app));
    }
}

TEST_F(OverlayPublishedTest, AProjectWithNothingToPublishNeedsNoOverlay) {
    struct Case {
        const char* name;
        std::function<void(OverlayPublishedTest&)> overlayOnDisk;
        bool published;
    };
    const std::vector<Case> cases{
        {"no overlay folder", [](OverlayPublishedTest&) {}, true},
        {"an empty overlay folder", [](OverlayPublishedTest& t) { fs::create_directories(t.overlay()); },
         true},
        {"a table file left from before",
         [](OverlayPublishedTest& t) {
             StringsFiles::writeStrings({{"Open", "Öffnen"}}, t.overlay() / "Main.strings");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(overlay());
        // A translation of English the app no longer shows is not published.
        project.translations = {{idOf("Main", "Open"), textTranslation("Open up", "Öffnen")}};
        c.overlayOnDisk(*this);
        EXPECT_EQ(OverlayWriter::isPublished(project, strings, app), c.published);
    }
}

} // namespace
} // namespace orvel::testing
