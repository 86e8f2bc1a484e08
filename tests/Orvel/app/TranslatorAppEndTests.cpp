// The application's end: every workspace writes what it holds, and only edits that could not be written
// even then are told, once, naming the app, the language and the error, before the application ends.

#include "Orvel/app/TranslatorApp.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Orvel/state/Library.h"
#include "tests/Orvel/state/FullDisk.h"
#include "tests/Orvel/state/LibraryFixture.h"
#include "tests/Orvel/state/RecordingAlerts.h"

namespace orvel {
namespace {

constexpr const char* openID = "Main\x1FOpen";

class TranslatorAppEndTest : public testing::LibraryTest {
  protected:
    testing::RecordingAlerts alerts;
};

TEST_F(TranslatorAppEndTest, TheEndTellsOfEditsOnlyWhenItCannotWriteThem) {
    struct Case {
        const char* name;
        // The edit was written back onto a full disk before the end.
        bool failedBefore;
        // The edit still waits for its write-back when the application ends.
        bool waitingAtTheEnd;
        bool fullAtTheEnd;
        bool told;
    };
    const std::vector<Case> cases{
        {"an edit written before the end", false, false, false, false},
        {"an edit that waits, written at the end", false, true, false, false},
        {"an edit that failed, written at the end", true, false, false, false},
        {"an edit that waits, onto a disk full at the end", false, true, true, true},
        {"an edit that failed and fails again at the end", true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        alerts.shown.clear();
        const TranslatableApp notes = bundle("com.example.Notes", "1", "Notes", {{"Open", "Open"}});
        engine.install({notes});
        writeProject(notes, "de");
        defaults.set("language.com.example.Notes", std::string("de"));
        auto translator = std::make_unique<TranslatorApp>(services(), preferences, alerts);
        Workspace& workspace = translator->library().workspace(notes);
        settle();
        std::optional<testing::FullDisk> disk;
        if (c.failedBefore)
            disk.emplace();
        workspace.setText("Öffnen", openID);
        if (!c.waitingAtTheEnd)
            timers.advance(Workspace::writeBackDelay);
        disk.reset();
        if (c.fullAtTheEnd)
            disk.emplace();

        translator->quit();
        // The end of the main loop asks again; the person is told once.
        translator->quit();
        disk.reset();

        ASSERT_EQ(alerts.shown.size(), c.told ? 1u : 0u);
        const auto& stored = TranslationProject::load(notes, "de").translations;
        const auto found = stored.find(openID);
        EXPECT_EQ(found == stored.end() ? std::nullopt : found->second.text,
                  c.told ? std::nullopt : std::optional<std::string>("Öffnen"));
        if (c.told) {
            const Alert& alert = alerts.shown.front();
            EXPECT_EQ(alert.message, "Some edits could not be saved");
            EXPECT_TRUE(alert.informativeText.contains("Notes in German: "))
                << alert.informativeText.toStdString();
            EXPECT_TRUE(alert.informativeText.contains("No space left on device"))
                << alert.informativeText.toStdString();
        }
        translator.reset();
        settle();
    }
}

} // namespace
} // namespace orvel
