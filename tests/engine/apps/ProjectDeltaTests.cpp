#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/apps/ProjectDelta.h"

namespace orvel {
namespace {

SourceString string(std::string key, std::string text) {
    SourceString s;
    s.table = "Main";
    s.key = std::move(key);
    s.text = std::move(text);
    return s;
}

std::string id(const std::string& key) {
    return SourceString::id("Main", key);
}

StringTranslation madeFrom(std::string english, std::string text = "übersetzt") {
    StringTranslation translation;
    translation.text = std::move(text);
    translation.source = std::move(english);
    return translation;
}

// A caller that holds the project takes what applying an update's changes did as a step: laid into its
// project as it was before, the step gives the project as the update applied it.
TEST(ProjectDelta, TheStepOfAppliedChangesGivesTheAppliedProject) {
    using Entries = std::map<std::string, StringTranslation>;
    struct Case {
        const char* name;
        Entries translations;
        Entries retired;
        std::vector<SourceString> strings;
    };
    const std::vector<Case> cases{
        {"nothing changed", {{id("a"), madeFrom("Save")}}, {}, {string("a", "Save")}},
        {"moved to another key", {{id("old"), madeFrom("Save")}}, {}, {string("new", "Save")}},
        {"reworded in place", {{id("a"), madeFrom("Open the file")}}, {}, {string("a", "Open a file")}},
        {"moved and reworded",
         {{id("old"), madeFrom("Show all windows")}},
         {},
         {string("new", "Show all the windows")}},
        {"removed", {{id("gone"), madeFrom("Nothing like it")}}, {}, {string("a", "Quit")}},
        {"taken back from retirement", {}, {{id("a"), madeFrom("Help")}}, {string("a", "Help")}},
        {"taken back from retirement reworded",
         {},
         {{id("a"), madeFrom("Print it")}},
         {string("a", "Print")}},
        {"an empty entry over a retired one",
         {{id("old"), madeFrom("Print", "")}},
         {{id("old"), madeFrom("Print", "Drucken")}},
         {string("print", "Print")}},
        {"every kind at once",
         {{id("a"), madeFrom("Open the file")},
          {id("old"), madeFrom("Save")},
          {id("gone"), madeFrom("Nothing like it")}},
         {{id("h"), madeFrom("Help")}},
         {string("a", "Open a file"), string("new", "Save"), string("h", "Help"), string("q", "Quit")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslationProject before;
        before.sourceText.emplace();
        before.translations = c.translations;
        before.retired = c.retired;
        const StringChanges changes = StringChanges::compute(before, c.strings);
        TranslationProject applied = before;
        apply(applied, changes.changed, changes.moved, changes.removed);

        TranslationProject rebuilt = before;
        ProjectDelta::applied(applied, changes).applyTo(rebuilt);
        EXPECT_EQ(rebuilt.toJson(), applied.toJson());
    }
}

} // namespace
} // namespace orvel
