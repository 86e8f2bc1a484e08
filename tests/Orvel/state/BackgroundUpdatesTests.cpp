#include "Orvel/state/BackgroundUpdates.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvel {
namespace {

using BackgroundUpdates::Item;

Item item(const std::string& language, int count, std::optional<std::string> version = "1") {
    TranslatableApp app;
    app.bundleURL = "/Applications/Notes.app";
    app.bundleIdentifier = "com.example.Notes";
    app.version = std::move(version);
    return {app, language, count};
}

TEST(BackgroundUpdates, QueueTakesEachChangedProjectOnceAndLeavesTheShownOne) {
    struct Case {
        const char* name;
        std::vector<Item> items;
        // The language the app's open workspace shows; absent: no workspace, or none chosen.
        std::optional<std::string> shown;
        std::set<std::string> attemptedBefore;
        std::vector<std::string> expectQueued;
        std::set<std::string> expectAttempted;
    };
    const std::vector<Case> cases{
        {"changed projects in order",
         {item("fr", 2), item("de", 3)},
         {},
         {},
         {"fr", "de"},
         {"com.example.Notes fr 1", "com.example.Notes de 1"}},
        {"nothing to translate", {item("de", 0)}, {}, {}, {}, {}},
        {"the shown language is the workspace's",
         {item("de", 3), item("fr", 2)},
         "de",
         {},
         {"fr"},
         {"com.example.Notes fr 1"}},
        {"tried before in this version",
         {item("de", 3)},
         {},
         {"com.example.Notes de 1"},
         {},
         {"com.example.Notes de 1"}},
        {"tried before in an older version",
         {item("de", 3, "2")},
         {},
         {"com.example.Notes de 1"},
         {"de"},
         {"com.example.Notes de 1", "com.example.Notes de 2"}},
        {"an app without a version",
         {item("de", 1, std::nullopt)},
         {},
         {},
         {"de"},
         {"com.example.Notes de "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::set<std::string> attempted = c.attemptedBefore;
        const auto queued = BackgroundUpdates::queue(
            c.items,
            [&](const std::string& app) { return app == "com.example.Notes" ? c.shown : std::nullopt; },
            attempted);
        std::vector<std::string> languages;
        for (const Item& entry : queued)
            languages.push_back(entry.language);
        EXPECT_EQ(languages, c.expectQueued);
        EXPECT_EQ(attempted, c.expectAttempted);
    }
}

TEST(BackgroundUpdates, TotalsSumEachAppsProjects) {
    Item other = item("de", 4);
    other.app.bundleIdentifier = "com.example.Mail";
    EXPECT_EQ(BackgroundUpdates::totals({item("de", 3), item("fr", 2), item("it", 0), other}),
              (std::map<std::string, int>{{"com.example.Mail", 4}, {"com.example.Notes", 5}}));
}

} // namespace
} // namespace orvel
