// Keep makes a translation the person's as it stands: it changes neither the wording nor the English it
// was made from, so it starts no comparison of the changes and no Translate Changes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/Orvel/state/WorkspaceRunFixture.h"

namespace orvel::testing {
namespace {

using WorkspaceKeepTest = WorkspaceRunTest;

TEST_F(WorkspaceKeepTest, KeepStartsNoComparisonAndNoTranslateChanges) {
    struct Case {
        const char* name;
        std::string key;
    };
    // "a" was translated from the English the app shows; "b" from English the app has since reworded.
    const std::vector<Case> cases{
        {"a translation of the English the app shows", "a"},
        {"a translation of English the app has since changed", "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        preferences.setAutoUpdate(false);
        auto workspace = openWithChanges(appWith({"a", "b", "c", "d", "e", "f"}));
        processPendingEvents();
        const std::vector<SourceString> before = workspace->changes().toTranslate();
        // Turned on now, so that only a check started by the Keep could start an update.
        preferences.setAutoUpdate(true);

        workspace->keep(id(c.key));
        processPendingEvents();

        EXPECT_EQ(workspace->translation(id(c.key))->origin, StringTranslation::Origin::person);
        EXPECT_FALSE(workspace->translating());
        EXPECT_EQ(runs(), 0u);
        EXPECT_EQ(workspace->changes().toTranslate(), before);
        // The kept translation is written back like any edit.
        timers.advance(Workspace::writeBackDelay);
        EXPECT_EQ(TranslationProject::load(workspace->app(), "de").translations.at(id(c.key)).origin,
                  StringTranslation::Origin::person);
    }
}

} // namespace
} // namespace orvel::testing
