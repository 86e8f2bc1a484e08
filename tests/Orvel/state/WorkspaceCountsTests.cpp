// The counts beside the filters, in the footer and in the checklist stay right through edits, language
// switches and changes of what is seen, and are worked out once per such change: never for a keystroke
// in the search field or a change of filter, and not once per view that shows them.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/Orvel/state/ProcessUntil.h"
#include "tests/Orvel/state/WorkspaceFixture.h"

namespace orvel {
namespace {

using Filter = Workspace::Filter;
using Origin = StringTranslation::Origin;

std::string idOf(const std::string& key) {
    return SourceString::id("Main", key);
}

// What the sidebar, the footer and the checklist read after each change.
WorkspaceCounts readLikeTheViews(const Workspace& workspace) {
    for (Filter filter :
         {Filter::all, Filter::untranslated, Filter::changed, Filter::problems, Filter::edited})
        workspace.count(filter);
    WorkspaceCounts shown;
    for (int view = 0; view < 2; ++view) {
        shown.translatable = workspace.translatableCount();
        shown.translated = workspace.translatedCount();
        shown.seen = workspace.seenCount();
        shown.problems = workspace.problemCount();
        shown.edited = *workspace.count(Filter::edited);
    }
    workspace.visibleStrings();
    return shown;
}

struct Step {
    const char* name;
    std::function<void(Workspace&)> change;
    WorkspaceCounts expected;
    // How often the counts are worked out for the change, whoever reads them.
    int passes;
};

class WorkspaceCountsTest : public testing::WorkspaceTest {};

TEST_F(WorkspaceCountsTest, CountsFollowEveryChangeAndAreWorkedOutOncePerChange) {
    // "Mail" is left in English by the model (a problem), "File" is the person's, "Hidden" is not to be
    // translated and "Plain" has no translation.
    engine.scriptedStrings = {
        testing::sourceString("File", "Open the file now"), testing::sourceString("Mail", "Send email now"),
        testing::sourceString("Hidden", "Hidden", false), testing::sourceString("Plain", "Plain text")};
    const TranslatableApp app = makeApp();
    writeProject(app, "de",
                 {{idOf("Mail"), testing::translated("Send email now")},
                  {idOf("File"), testing::translated("Öffne die Datei", Origin::person)},
                  {idOf("Hidden"), testing::translated("Versteckt")}});
    const auto workspace = open(app);

    ContextMap seenPlain;
    seenPlain.occurrences[idOf("Plain")] = {Occurrence{}};
    // The problems, once checked, join the counts made before them without another pass.
    const std::vector<Step> steps{
        {"opened",
         [](Workspace&) {},
         {.translatable = 3, .translated = 2, .edited = 1, .problems = 1, .seen = 0},
         0},
        {"a search keystroke",
         [](Workspace& w) { w.setSearch("mail"); },
         {.translatable = 3, .translated = 2, .edited = 1, .problems = 1, .seen = 0},
         0},
        {"a filter switch",
         [](Workspace& w) { w.setFilter(Filter::problems); },
         {.translatable = 3, .translated = 2, .edited = 1, .problems = 1, .seen = 0},
         0},
        // The person's edits, like a run's batches, are counted by their own rows.
        {"an edit",
         [](Workspace& w) { w.setText("Post senden", idOf("Mail")); },
         {.translatable = 3, .translated = 2, .edited = 2, .problems = 0, .seen = 0},
         0},
        {"a removed translation",
         [](Workspace& w) { w.setText("", idOf("File")); },
         {.translatable = 3, .translated = 1, .edited = 1, .problems = 0, .seen = 0},
         0},
        {"the search cleared",
         [](Workspace& w) { w.setSearch(""); },
         {.translatable = 3, .translated = 1, .edited = 1, .problems = 0, .seen = 0},
         0},
        {"a string seen",
         [&](Workspace& w) { w.setContext(seenPlain); },
         {.translatable = 3, .translated = 1, .edited = 1, .problems = 0, .seen = 1},
         1},
        // A run's batch is counted by its own rows, without a pass over the others.
        {"a merged batch",
         [](Workspace& w) {
             w.applyBatch({{idOf("Plain"), testing::translated("Einfacher Text")}}, {}, "de");
         },
         {.translatable = 3, .translated = 2, .edited = 1, .problems = 0, .seen = 1},
         0},
        {"a merged batch over the person's translation",
         [](Workspace& w) {
             w.applyBatch({{idOf("Mail"), testing::translated("Post schicken")}}, {}, "de");
         },
         {.translatable = 3, .translated = 2, .edited = 0, .problems = 0, .seen = 1},
         0},
        // Choosing reads the counts for the checklist before the problems are computed, once.
        {"another language",
         [](Workspace& w) { w.selectLanguage("fr"); },
         {.translatable = 3, .translated = 0, .edited = 0, .problems = 0, .seen = 1},
         1},
        {"the first language again",
         [](Workspace& w) { w.selectLanguage("de"); },
         {.translatable = 3, .translated = 2, .edited = 0, .problems = 0, .seen = 1},
         1},
        {"no language",
         [](Workspace& w) { w.selectLanguage(std::nullopt); },
         {.translatable = 3, .translated = 0, .edited = 0, .problems = std::nullopt, .seen = 1},
         1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const std::uint64_t before = workspace->countPasses();
        step.change(*workspace);
        if (workspace->language()) {
            ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
        }
        EXPECT_EQ(readLikeTheViews(*workspace), step.expected);
        EXPECT_EQ(workspace->countPasses() - before, static_cast<std::uint64_t>(step.passes));
    }
}

} // namespace
} // namespace orvel
