#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/reference/SoftwareReference.h"

using namespace orvel;
using Entry = SoftwareReference::Entry;

TEST(SoftwareReferenceEvidence, ShowsTheLeaderAndItsSeriousRivals) {
    struct Case {
        std::string name;
        std::vector<Entry> entries;
        std::size_t limit;
        std::optional<std::string> evidence;
    };
    const std::vector<Case> cases{
        {"one entry", {{"Ecran", {{"firefox", 3}, {"android", 12}}}}, 3, "«Ecran» (Android 12, Firefox 3)"},
        {"a tenth of the leader or more, within the limit",
         {{"A", {{"android", 100}}},
          {"B", {{"vlc", 40}}},
          {"C", {{"firefox", 5}}},
          {"D", {{"chromium", 30}}}},
         3,
         "«A» (Android 100); «B» (VLC 40)"},
        {"exactly a tenth",
         {{"A", {{"android", 100}}}, {"B", {{"vlc", 10}}}},
         3,
         "«A» (Android 100); «B» (VLC 10)"},
        {"two programs, however rare",
         {{"L", {{"android", 500}}}, {"R", {{"vlc", 1}, {"chromium", 1}}}},
         3,
         "«L» (Android 500); «R» (Chromium 1, VLC 1)"},
        {"the leader's text with other counts is a rival like any other",
         {{"X", {{"android", 100}}}, {"X", {{"vlc", 1}}}},
         3,
         "«X» (Android 100)"},
        {"a limit of one looks at the leader only",
         {{"A", {{"android", 10}}}, {"B", {{"vlc", 10}}}},
         1,
         "«A» (Android 10)"},
        {"no entries", {}, 3, std::nullopt},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        SoftwareReference reference;
        reference.table = {{"screen", row.entries}};
        EXPECT_EQ(reference.evidence("Screen", row.limit), row.evidence);
    }
}

TEST(SoftwareReferenceEvidence, LooksUpTheFoldedTerm) {
    SoftwareReference reference;
    reference.table = {{"color", {{"Culoare", {{"android", 4}}}}}, {"save", {{"Salvează", {{"vlc", 2}}}}}};
    for (const char* term : {"Colour", "colour", "color", " Color: "})
        EXPECT_EQ(reference.evidence(term, 3), "«Culoare» (Android 4)") << term;
    EXPECT_EQ(reference.evidence("Save…", 3), "«Salvează» (VLC 2)");
    EXPECT_FALSE(reference.evidence("Open", 3));
}
