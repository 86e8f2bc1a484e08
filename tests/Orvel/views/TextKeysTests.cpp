#include "Orvel/views/TextKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

TEST(TextKeys, FillsPlaceholdersInOrderAndOnlyOnce) {
    struct Case {
        const char* name;
        QString pattern;
        std::vector<TextArgument> arguments;
        QString filled;
    };
    const std::vector<Case> cases{
        {"text", "Live in %@", {QString("Notes")}, "Live in Notes"},
        {"integer", "Translate %lld Strings", {12345}, "Translate 12345 Strings"},
        {"negative integer", "%lld notes", {-3}, "-3 notes"},
        {"two texts in order", "%@ in %@", {QString("Notes"), QString("Deutsch")}, "Notes in Deutsch"},
        {"mixed kinds", "%@ of %lld strings seen", {QString("1 200"), 3000}, "1 200 of 3000 strings seen"},
        {"inserted text is not read again",
         "%@ and %@",
         {QString("%@ %lld %%"), QString("B")},
         "%@ %lld %% and B"},
        {"missing value keeps the placeholder", "%@ of %@", {QString("1")}, "1 of %@"},
        {"escaped percent", "100%% of %@", {QString("all")}, "100% of all"},
        {"other percent signs stay", "%d and %", {QString("x")}, "%d and %"},
        {"placeholder at the very end", "Show %@", {QString("<b>A&B</b>")}, "Show <b>A&B</b>"},
        {"nothing to fill", "Glossary", {}, "Glossary"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fillPlaceholders(row.pattern, row.arguments), row.filled);
    }
}

TEST(TextKeys, LocalizedKeysFallBackToTheKey) {
    EXPECT_EQ(localized("Show Strings"), "Show Strings");
    EXPECT_EQ(localized("100%"), "100%");
    EXPECT_EQ(localizedFormat("%@ of %@", {QString("120"), QString("300")},
                              "A count of strings out of a total, like 120 of 300"),
              "120 of 300");
}

} // namespace
} // namespace orvel
