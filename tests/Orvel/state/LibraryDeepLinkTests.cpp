#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/Orvel/state/LibraryFixture.h"

namespace orvel {
namespace {

using testing::LibraryTest;

TEST_F(LibraryTest, HandledLinksOpenTheirAppAndRescanOnlyForAnUnknownOne) {
    struct Case {
        const char* name;
        bool knownAtFirst;
        // "%s" stands for the row's bundle identifier.
        std::vector<std::string> urls;
        // Scans started by the links themselves.
        int expectScans;
        // Whether the app is selected with the language once everything settled.
        bool expectOpened;
        std::optional<std::string> expectLanguage;
    };
    const std::vector<Case> cases{
        {"a known app opens at once", true, {"orvel://translate?app=%s&language=de"}, 0, true, "de"},
        {"an unknown app opens after the rescan",
         false,
         {"orvel://translate?app=%s&language=fr"},
         1,
         true,
         "fr"},
        {"the first app item counts",
         true,
         {"orvel://translate?app=%s&app=other&language=it"},
         0,
         true,
         "it"},
        {"another host is ignored", false, {"orvel://open?app=%s&language=fr"}, 0, false, std::nullopt},
        {"letter case of scheme and host counts",
         false,
         {"ORVEL://translate?app=%s", "orvel://Translate?app=%s"},
         0,
         false,
         std::nullopt},
        {"an item without value keeps the earlier link",
         false,
         {"orvel://translate?app=%s&language=fr", "orvel://translate?app"},
         1,
         true,
         "fr"},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string identifier = "com.example.handle" + std::to_string(++row);
        const TranslatableApp notes = app(identifier, "1", "Handle" + std::to_string(row));
        const TranslatableApp other =
            app("com.example.first" + std::to_string(row), "1", "First" + std::to_string(row));
        engine.install(c.knownAtFirst ? std::vector{other, notes} : std::vector{other});
        auto library = makeLibrary();
        settle();
        const int scansBefore = engine.scans();
        // The app is installed by now; only a scan finds it.
        engine.install({other, notes});

        for (std::string url : c.urls) {
            if (const std::size_t at = url.find("%s"); at != std::string::npos)
                url.replace(at, 2, identifier);
            library->handle(url);
        }
        settle();
        EXPECT_EQ(engine.scans() - scansBefore, c.expectScans);
        EXPECT_FALSE(library->link().has_value() && c.expectOpened);
        EXPECT_EQ(library->selection() == identifier, c.expectOpened);
        if (!c.expectOpened)
            continue;
        Workspace& workspace = library->workspace(notes);
        EXPECT_EQ(workspace.language(), c.expectLanguage);

        // Applied once: a later rescan leaves the person's own choice alone.
        workspace.selectLanguage("es");
        rescan();
        EXPECT_EQ(workspace.language(), "es");
    }
}

// Every link naming an unknown app asks for a rescan; a flood of them must not start a scan each.
TEST_F(LibraryTest, RescansForLinksThatArriveWhileOneRunsShareOneLaterScan) {
    struct Case {
        const char* name;
        int links;
        int expectScans;
    };
    const std::vector<Case> cases{
        {"one link: its scan alone", 1, 1},
        {"two links: the running scan, then the one the second asked for", 2, 2},
        {"many links: still one scan after the running one", 50, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine.install({app("com.example.known", "1", "Known")});
        auto library = makeLibrary();
        settle();
        const int scansBefore = engine.scans();
        // The first link's scan is still running when the others arrive.
        engine.holdScan(scansBefore + 1);
        for (int i = 0; i < c.links; ++i) {
            library->handle("orvel://translate?app=com.example.unknown" + std::to_string(i));
            if (i == 0) {
                ASSERT_TRUE(testing::processUntil([&] { return engine.scans() == scansBefore + 1; }));
            }
        }
        engine.releaseHeld();
        settle();
        EXPECT_EQ(engine.scans() - scansBefore, c.expectScans);
        EXPECT_EQ(library->link()->app, "com.example.unknown" + std::to_string(c.links - 1));
    }
}

} // namespace
} // namespace orvel
